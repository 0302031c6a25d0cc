#pragma once
// The high-score screen: the table of one visit with the new score inserted,
// its name typed in place, and the file written when the screen is left.
// Opening reads the file, a sample steps the rules, the drawing shows the
// state, and leaving saves; the screen that runs them is app/screens'.

#include <cstdint>
#include <string_view>

#include "highscores/high_score_file.h"
#include "highscores/high_score_ranking.h"
#include "highscores/high_score_table.h"
#include "input/input_frame.h"
#include "platform/outside.h"
#include "shared/guarded_values.h"
#include "shared/highlight.h"
#include "shared/outbox.h"
#include "shared/session.h"
#include "shared/shell_pictures.h"

namespace mw {

struct HighScoreVisit {
  HighScoreTable table;
  HighScoreFile file;
  std::int16_t entry_row = kNoEntryRow;
  Highlight pulse;
  bool leave_latched = true;
  Point mouse{};  // where the cursor is drawn
};

// The keys that leave the screen; the visit ends once they are let go.
inline constexpr std::initializer_list<int> kHighScoreLeaveKeys = {vk::kReturn, vk::kLeftButton,
                                                                   vk::kEscape};

// Normalises the holder's value, reads the file and inserts the score. A
// score edited from outside sets the cheat flag, so the table is not saved.
HighScoreVisit OpenHighScoreVisit(Outside& outside, Session& session, const GuardedNumber& holder,
                                  std::string_view prefix, Outbox& out);

// What a pass of the screen decided.
enum class HighScorePass { kStay, kLeave, kClose };

// What the screen makes of a sample (its highlight pulses apart from this):
// name entry, the close request,
// the leave keys (all three must have been up once since the screen opened).
HighScorePass ReadHighScoreInput(HighScoreVisit& visit, const InputFrame& input);

// Removes the EditMark and writes the file (or refuses, or keeps a file that
// could not be read). A table edited from outside sets the cheat flag.
void FinishHighScoreVisit(Outside& outside, Session& session, HighScoreVisit& visit, Outbox& out);

// The table, the score below it and the cursor, into the shell's BackBuffer.
void DrawHighScores(const Session& session, const HighScoreVisit& visit, ShellPictures& pictures);

}  // namespace mw
