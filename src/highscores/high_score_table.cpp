#include "highscores/high_score_table.h"

namespace mw {

bool Tampered(const HighScoreTable& table) {
  for (const HighScoreEntry& entry : table) {
    if (entry.entry_score.Tampered()) return true;
  }
  return false;
}

PlainHighScore DefaultHighScore() {
  return {"niemand", 0};
}

}  // namespace mw
