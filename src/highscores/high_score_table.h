#pragma once
// The table of one visit of the high-score screen: slots 1 to 5 are the table
// kept in the file, slot 0 stops the insertion, slot 6 takes a score that
// did not reach the table.

#include <array>
#include <cstdint>
#include <string>

#include "shared/guarded_values.h"
#include "shared/session.h"

namespace mw {

struct HighScoreEntry {
  GuardedText entry_name;     // Windows-1252
  GuardedNumber entry_score;  // normalised score, 0..2^31-1 in slots 1 to 5
};

constexpr std::size_t kHighScoreSlots = 7;
constexpr std::size_t kHighScoreRanks = 5;
using HighScoreTable = std::array<HighScoreEntry, kHighScoreSlots>;

// True when a score of the table was edited from outside.
bool Tampered(const HighScoreTable& table);

// One entry as plain values, as the file holds it.
struct PlainHighScore {
  std::string name;  // Windows-1252
  std::int32_t score = 0;
  bool operator==(const PlainHighScore&) const = default;
};

// The entry for every rank that the file does not supply.
PlainHighScore DefaultHighScore();

}  // namespace mw
