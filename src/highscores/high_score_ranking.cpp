#include "highscores/high_score_ranking.h"

#include <algorithm>
#include <limits>

#include "errors/runtime_error.h"

namespace mw {
namespace {

constexpr std::int64_t kNormalSeconds = 720;

void RequirePositive(std::int32_t seconds) {
  if (seconds <= 0) throw DivisionByZero();
}

}  // namespace

std::int32_t NormalizedScore(std::int32_t value, std::int32_t seconds) {
  RequirePositive(seconds);
  const std::int64_t numerator = std::int64_t{value} * kNormalSeconds;
  // Floor division, then round the remainder half to even.
  std::int64_t quotient = numerator / seconds;
  std::int64_t remainder = numerator % seconds;
  if (remainder < 0) {
    remainder += seconds;
    --quotient;
  }
  if (2 * remainder > seconds || (2 * remainder == seconds && quotient % 2 != 0)) ++quotient;
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(quotient, 0, std::numeric_limits<std::int32_t>::max()));
}

std::string DisplayedScore(std::int32_t score, std::int32_t seconds) {
  RequirePositive(seconds);
  const std::int64_t scaled = std::int64_t{score} * seconds;
  std::int64_t shown = scaled / kNormalSeconds;
  if (scaled % kNormalSeconds < 0) --shown;
  return std::to_string(shown);
}

std::int16_t InsertScore(HighScoreTable& table, std::int32_t normalized) {
  for (int rank = static_cast<int>(kHighScoreRanks); rank >= 0; --rank) {
    const auto k = static_cast<std::size_t>(rank);
    if (normalized > table[k].entry_score.Value() && k != 0) {
      table[k + 1].entry_score = table[k].entry_score;
      table[k + 1].entry_name = table[k].entry_name;
    } else if (normalized > table[k + 1].entry_score.Value()) {
      table[k + 1].entry_score.SetValue(normalized);
      table[k + 1].entry_name.SetText(std::string(1, kEditMark));
      return static_cast<std::int16_t>(k + 1);
    }
  }
  return kNoEntryRow;
}

void ApplyTypedCharacter(std::uint8_t code, GuardedText& name) {
  std::string text = name.Text();
  if (text.empty()) text.push_back(kEditMark);
  if (code == 8) {
    if (text.size() >= 2) text.erase(text.size() - 2, 1);
  } else if (code >= 32 && text.size() <= kMaxTypedName) {
    text.insert(text.end() - 1, static_cast<char>(code));
  } else {
    return;
  }
  name.SetText(text);
}

}  // namespace mw
