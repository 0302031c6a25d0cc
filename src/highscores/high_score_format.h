#pragma once
// The byte format of the high-score file: five variable-length records, each
// with a one-byte checksum and its name masked by its score, the whole file
// masked by byte position. Pure code: bytes in, table out, and back.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "highscores/high_score_table.h"

namespace mw {

// Sum of the byte values modulo 256.
std::uint8_t TextChecksum(std::span<const std::uint8_t> bytes);
std::uint8_t TextChecksum(std::string_view text);

using HighScoreRanks = std::array<PlainHighScore, kHighScoreRanks>;

struct ParsedHighScores {
  HighScoreRanks entries;
  // A record failed its checksum or is one the game never writes.
  bool cheat_flag = false;
};

// The longest stored prefix that can matter: five records of 255 bytes.
// Anything after the fifth record is ignored.
constexpr std::size_t kHighScoreBytesUsed = 5 * 255;

// Any bytes at all give five entries; ranks the bytes do not supply get the
// default entry.
ParsedHighScores ParseHighScores(std::span<const std::uint8_t> stored);

// The stored bytes for five entries. Names longer than a record can hold are
// cut to 249 bytes, and a negative score is written as 0; the game never
// produces either.
std::vector<std::uint8_t> EncodeHighScores(const HighScoreRanks& entries);

// Fills slots 1 to 5 from the stored bytes; sets session.cheat_flag when a
// record is damaged.
void LoadHighScores(Session& session, HighScoreTable& table, std::span<const std::uint8_t> stored);

// The stored bytes of slots 1 to 5.
std::vector<std::uint8_t> SaveHighScores(const HighScoreTable& table);

}  // namespace mw
