#pragma once
// One visit of the high-score screen, split into its steps so that a test can
// open the screen, run single passes, look at the state and the pixels, and
// leave.

#include <cstdint>

#include "drawing/drawing_types.h"
#include "highscores/high_score_file.h"
#include "highscores/high_score_ranking.h"
#include "highscores/high_score_table.h"
#include "platform/platform.h"
#include "shared/display_state.h"
#include "shared/guarded_values.h"
#include "shared/highlight.h"
#include "shared/pass_result.h"
#include "shared/screen_exit.h"
#include "shared/session.h"

namespace mw {

struct HighScoreVisit {
  HighScoreTable table;
  HighScoreFile file;
  std::int16_t entry_row = kNoEntryRow;
  Highlight pulse;
  bool leave_latched = true;
};

// Normalises the holder's value, reads the file and inserts the score.
HighScoreVisit OpenHighScoreVisit(Platform& platform, Session& session, const GuardedNumber& holder,
                                  std::string_view prefix);

// One pass of the frame loop with the pass's input: pulse, lost display, name
// entry, leave test, and (when staying) the drawing and Flip.
PassResult RunHighScorePass(Platform& platform, const Session& session, DisplayState& display,
                            HighScoreVisit& visit, InputFrame input);

// Waits for the leave keys to be let go (not after a close request), removes
// the EditMark and writes the file.
// A table edited from outside sets CheatFlag, so it is not saved.
ScreenExit LeaveHighScoreVisit(Platform& platform, Session& session, HighScoreVisit& visit,
                               PassResult how);

}  // namespace mw
