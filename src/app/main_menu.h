#pragma once
// The main menu: "Spiel starten", "Einstellungen", "Highscores", "Ende". A
// pass pulses the highlight, follows the mouse and the arrow keys, and asks
// for the screen chosen; the program's loop runs the passes.

#include <cstdint>

#include "drawing/drawing_types.h"
#include "input/input_context.h"
#include "input/input_frame.h"
#include "shared/guarded_values.h"
#include "shared/highlight.h"
#include "shared/shell_pictures.h"

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
  // Shown from the menu the table gets -200, which never enters it.
  GuardedNumber no_result;
};

// What a pass of the menu decided.
enum class MenuPass {
  kStay,     // drawn as it is
  kConfirm,  // Enter or the left button is down: wait until it is let go
  kAct,      // the confirm was let go: open the selected line
  kLeave,    // Escape: the program ends
  kClose,    // the window was asked to close: the program ends
};

// What the menu makes of a sample (its highlight pulses apart from this).
MenuPass ReadMenuInput(MenuState& menu, const InputFrame& input);
// After the confirm of a pass was let go: kAct unless a confirm had been held
// from before (then the pass ends as it would have, with that pass's close
// request and Escape).
MenuPass AfterConfirmReleased(MenuState& menu, bool close_requested, bool escape_down);

// Where the resting mouse chooses each entry.
inline constexpr LineBands kMenuLineBands{230, 50, 40, kEnd};

// The entry whose mouse band holds screen row y, or 0 outside every band.
std::uint8_t MenuEntryAt(std::int32_t y);

void DrawMenu(const MenuState& menu, ShellPictures& pictures);

}  // namespace mw
