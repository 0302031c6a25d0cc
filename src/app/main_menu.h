#pragma once
// The main menu: start-up of the display, the menu loop, and shutdown.

#include <cstdint>

#include "app/program_state.h"
#include "platform/platform.h"
#include "shared/guarded_values.h"
#include "shared/highlight.h"
#include "shared/pass_result.h"

namespace mw {

enum MenuEntry : std::uint8_t { kStartGame = 1, kSettings = 2, kHighScores = 3, kEnd = 4 };

struct MenuState {
  MenuState() { no_result.SetValue(-200); }

  std::uint8_t selected = kStartGame;
  Highlight pulse;
  bool down_held = false;
  bool up_held = false;
  // A confirm counts only after a pass with Enter and the left button both up,
  // so one held from before the menu opened does nothing.
  bool confirm_latched = true;
  Point mouse{};
  Rect visible_rect = kShellVisibleRect;
  // Shown from the menu the table gets -200, which never enters it.
  GuardedNumber no_result;
};

// The whole menu: settings, display, loop, shutdown. Returns with the display
// given back.
void RunMainMenu(Platform& platform, ProgramState& state);

// platform.OpenDisplay, then the shell's BackBuffer and images.
void OpenDisplay(Platform& platform, DisplayState& display);

// Gives the display back, then releases the shell's surfaces in a fixed order.
void ShutdownDisplay(Platform& platform, DisplayState& display);

// One pass of the menu loop with the pass's input; kLeave on "Ende", Escape
// or a close request.
PassResult MenuPass(Platform& platform, ProgramState& state, MenuState& menu, InputFrame input);

// The entry whose mouse band holds screen row y, or 0 outside every band.
std::uint8_t MenuEntryAt(std::int32_t y);

}  // namespace mw
