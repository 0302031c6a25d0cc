#pragma once
// Where the high-score file lies, and the two sequences the screen runs: read
// the table on entry, write it on leaving. Every failure is shown to the
// player and the game goes on; the file on disk is never lost.

#include <string>
#include <string_view>

#include "highscores/high_score_table.h"
#include "platform/outside.h"
#include "shared/outbox.h"
#include "shared/session.h"

namespace mw {

constexpr std::string_view kHighScoreFileName = "highscores.pdk";
constexpr std::string_view kMakerContactAddress = "highscores@moewenschuss.example.org";

// The prefix (OEDIR) when it is not empty and shorter than 255 characters
// (used as it is: "/x/" names /x/highscores.pdk, "/x" names /xhighscores.pdk);
// otherwise the program's folder, or the per-user data folder when the
// program's folder cannot be written.
std::string HighScoreDir(Outside& outside, std::string_view prefix);

// What a visit knows of its file.
struct HighScoreFile {
  std::string path;
  // The file exists but could not be read: it must not be replaced by a table
  // that never saw its contents.
  bool unreadable = false;
};

// Fills slots 1 to 5 from HighScoreDir + "highscores.pdk" (defaults for what
// the file does not supply; all defaults when it cannot be read). Creates no
// file.
HighScoreFile ReadHighScoreFile(Outside& outside, Session& session, HighScoreTable& table,
                                const std::string& dir, Outbox& out);

// Saves slots 1 to 5 over the file, or refuses with the error message while
// the cheat flag is set (the file then stays as it is).
void WriteHighScoreFile(Outside& outside, const Session& session, const HighScoreTable& table,
                        const HighScoreFile& file, Outbox& out);

}  // namespace mw
