#pragma once
// A fresh program world on the headless platform, driven by a script built in
// the test, for running single passes of the shell screens.

#include <string>

#include "app/main_menu.h"
#include "app/program_state.h"
#include "platform/headless_platform.h"

namespace mw::test {

struct ShellWorld {
  explicit ShellWorld(const std::string& script, PixelFormat format = kRgb565)
      : platform(ParseScript(script, "test.script"), HeadlessOptions{"", true, format}) {
    platform.Events().KeepInMemory(true);
  }

  // Start-up as the menu does it, without entering the loop.
  void OpenShell() {
    InitSettingsTables(state.modul);
    OpenDisplay(platform, state.display);
  }

  // Counts the pixels of the last frame inside the screen rectangle whose
  // colour, in the display's layout, is exactly c.
  int CountColour(Rect r, Colour c) const {
    const Surface& frame = platform.Frame();
    const std::uint32_t raw = frame.MapColour(c);
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) n += frame.PixelAt(x, y) == raw ? 1 : 0;
    }
    return n;
  }

  HeadlessPlatform platform;  // declared first: outlives every surface below
  ProgramState state;
};

// Runs passes until one leaves its screen or the virtual clock reaches ms.
template <typename OnePass>
PassResult RunPassesUntil(const ShellWorld& w, double ms, OnePass one_pass) {
  while (w.platform.NowMs() < ms) {
    if (one_pass() == PassResult::kLeave) return PassResult::kLeave;
  }
  return PassResult::kStay;
}

// The screen rows of a text line drawn at BackBuffer row y.
inline Rect TextRow(std::int32_t back_buffer_y) {
  return Rect{0, back_buffer_y - 16, 400, back_buffer_y - 16 + 30};
}

}  // namespace mw::test
