#pragma once
// The high-score screen: shows the table, inserts a new result with its name,
// and writes the table when it is left.

#include "platform/platform.h"
#include "shared/display_state.h"
#include "shared/modul.h"
#include "shared/safe_holders.h"
#include "shared/screen_exit.h"

namespace mw {

// Called after every game with the game's Score, and from the menu with a
// holder of -200 (which never enters the table).
ScreenExit ShowHighScores(Platform& platform, Modul& modul, DisplayState& display,
                          const SafeNr& holder);

}  // namespace mw
