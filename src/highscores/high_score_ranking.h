#pragma once
// Scores per unit of playing time, and where a new score enters the table.
// Every score is scaled as if the game had lasted twelve minutes.

#include <cstdint>
#include <string>

#include "highscores/high_score_table.h"

namespace mw {

// The row number of a score that did not reach the table.
constexpr std::int16_t kNoEntryRow = 6;

// value x 720 / seconds, to the nearest whole number (halves to even),
// computed exactly in 64 bits. The table holds 0..2^31-1 only: a negative
// result never enters it and becomes 0, and a result above the range is kept
// at 2^31-1, so an unbeatable score still ranks first.
std::int32_t NormalizedScore(std::int32_t value, std::int32_t seconds);

// The largest whole number not above score x seconds / 720 (the score as
// the game of that length made it), as plain digits.
std::string DisplayedScore(std::int32_t score, std::int32_t seconds);

// Inserts the normalised score at its rank (ties go below, a tie with the
// fifth stays out) and returns the row of the new entry, 1 to 5, whose name
// becomes the EditMark. A positive score below the table lands in slot 6 and
// the row is 6.
std::int16_t InsertScore(HighScoreTable& table, std::int32_t normalized);

// The mark that stands at the end of the name being typed.
constexpr char kEditMark = '|';
// Longest name, the EditMark not counted.
constexpr std::size_t kMaxTypedName = 18;

// Applies one typed character code to a name that ends in the EditMark:
// Backspace (8) drops the character before the mark, codes 32 to 255 are added
// while the name has room. Any other code does nothing.
void ApplyTypedCharacter(std::uint8_t code, GuardedText& name);

}  // namespace mw
