#pragma once
// A whole game world on the headless platform, for running a game one frame
// at a time from a script built in code.

#include <string>
#include <string_view>

#include "game/game_state.h"
#include "game/phases.h"
#include "platform/headless_platform.h"
#include "platform/script.h"
#include "shared/display_state.h"
#include "shared/modul.h"

namespace mw::test {

// A script line far in the future keeps the virtual clock running that long.
inline constexpr const char* kLongRun = "600000 mouse 320 240\n";

inline HeadlessOptions GameOptions(bool sound_device = true, PixelFormat format = kRgb565) {
  HeadlessOptions options;
  options.sound_device = sound_device;
  options.format = format;
  return options;
}

// Counts the lines of the event log that contain all of `needle`.
inline int CountEvents(const EventLog& log, std::string_view needle) {
  int count = 0;
  const std::string& text = log.Text();
  for (std::size_t at = text.find(needle); at != std::string::npos;
       at = text.find(needle, at + needle.size())) {
    ++count;
  }
  return count;
}

template <typename P = HeadlessPlatform>
struct GameWorld {
  // The script should reach past the end of the run, or the platform stops
  // it 60 s of virtual time after the last line.
  explicit GameWorld(std::string_view script = "", HeadlessOptions options = GameOptions())
      : platform(ParseScript(script, "test-script"), options) {
    InitSettingsTables(modul);
    platform.Events().KeepInMemory(true);
    platform.OpenDisplay();
    MakeMenuBackBuffer(platform, display);
  }

  // StartGame's preparation and RunGame's set-up, without the loop.
  void SetUp() {
    PrepareGame(modul, game);
    frame = FrameState{};
    SetUpGame(ctx);
  }
  // Runs frames until the game ends or `frames` have been run; true if it ended.
  bool RunFrames(int frames) {
    for (int i = 0; i < frames; ++i) {
      if (!RunFrame(ctx)) return true;
    }
    return false;
  }
  int SettingValueOf(int setting) const { return SettingValue(modul, setting); }

  P platform;
  Modul modul;
  DisplayState display;
  GameState game{modul};
  FrameState frame;
  GameContext ctx{platform, modul, display, game, frame};
};

}  // namespace mw::test
