#include "highscores/high_score_table.h"

namespace mw {

HighScoreTable MakeHighScoreTable(Modul& modul) {
  HighScoreTable table;
  for (HighScoreEntry& entry : table) entry.EntryScore = SafeNr(&modul);
  return table;
}

PlainHighScore DefaultHighScore() {
  return {"niemand", 0};
}

}  // namespace mw
