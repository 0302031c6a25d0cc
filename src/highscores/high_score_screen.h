#pragma once
// The high-score screen: shows the table, inserts a new result with its name,
// and writes the table when it is left.

#include <string_view>

#include "platform/platform.h"
#include "shared/display_state.h"
#include "shared/guarded_values.h"
#include "shared/screen_exit.h"
#include "shared/session.h"

namespace mw {

// Called after every game with the game's Score, and from the menu with a
// holder of -200 (which never enters the table).
// prefix: OEDIR as read at start-up (see HighScoreDir).
ScreenExit ShowHighScores(Platform& platform, Session& session, DisplayState& display,
                          const GuardedNumber& holder, std::string_view prefix);

}  // namespace mw
