#pragma once
// The screens of the program as states of its one loop. The main menu is
// always there, at the bottom; the screens it opens, the waits and the
// message boxes stand on top of it, the current one last.

#include <variant>
#include <vector>

#include "app/message_box_screen.h"
#include "app/settings_screen.h"
#include "game/game_state.h"
#include "highscores/high_score_screen.h"

namespace mw {

// How a pass ends, as its step asks.
enum class PassEnd {
  kPresent,  // the current screen is drawn and shown; the pacer starts the next pass
  kPause,    // a wait rests about a millisecond
  kGoOn,     // the next pass starts at once
};

struct SettingsScreen {
  SettingsState settings;
};

struct GameScreen {
  PlayState play;
  bool set_up = false;  // the first pass sets the play screen up
};

struct HighScoreScreen {
  HighScoreVisit visit;
};

// Waits until the keys are let go, for the screen below it: the menu's
// confirm (Enter, left button), the settings' Escape, the high-score screen's
// leave keys.
struct ReleaseWait {
  enum class Keys { kConfirm, kEscape, kHighScoreLeave };
  Keys keys = Keys::kConfirm;
  // The menu's pass that was interrupted: its close request and Escape.
  bool close_requested = false;
  bool escape_down = false;
};

// Waits while the display is lost, for the screen below it, which then goes
// on with the sample that ended the wait.
struct LostDisplayWait {};

struct MessageBoxScreen {
  MessageBox box;
  // How the pass that asked for the box ends, once it is confirmed.
  PassEnd then = PassEnd::kGoOn;
};

using Screen = std::variant<SettingsScreen, GameScreen, HighScoreScreen, ReleaseWait,
                            LostDisplayWait, MessageBoxScreen>;

}  // namespace mw
