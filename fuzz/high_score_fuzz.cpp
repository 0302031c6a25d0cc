// Any bytes in the high-score file's place must give five entries and maybe
// the cheat flag: never a crash, never a read outside the data. What comes
// out must also survive a save and a load unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "highscores/high_score_format.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A copy of exactly the input's length, so that ASan sees any read past it.
  const std::vector<std::uint8_t> stored(data, data + size);
  const mw::ParsedHighScores parsed = mw::ParseHighScores(stored);

  for (const mw::PlainHighScore& entry : parsed.entries) {
    Check(entry.score >= 0);
    Check(entry.name.size() <= 249);
  }

  // What was read is what a save writes back and a load reads again, clean.
  const std::vector<std::uint8_t> saved = mw::EncodeHighScores(parsed.entries);
  const mw::ParsedHighScores again = mw::ParseHighScores(saved);
  Check(!again.cheat_flag);
  Check(again.entries == parsed.entries);
  return 0;
}
