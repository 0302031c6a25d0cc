#include "highscores/high_score_format.h"

#include <algorithm>

namespace mw {
namespace {

constexpr std::size_t kRecordOverhead = 6;  // length, checksum, four score bytes
constexpr std::size_t kMaxNameBytes = 255 - kRecordOverhead;

// The stored byte at position p (from 1) is the plain byte XOR (p mod 256);
// the mask is its own inverse.
std::vector<std::uint8_t> TogglePositionMask(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> out(bytes.begin(), bytes.end());
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<std::uint8_t>(out[i] ^ ((i + 1) & 0xFF));
  }
  return out;
}

// One record's entry, and whether it failed its checksum or is not one the
// game writes.
struct RecordResult {
  PlainHighScore entry;
  bool damaged = false;
};

RecordResult ParseRecord(std::span<const std::uint8_t> record) {
  const std::size_t n = record.size();
  // Shorter than the fixed fields, or a score outside 0..2^31-1: the game never
  // writes such a record, so it stands for tampering.
  if (n < kRecordOverhead || record[n - 1] >= 0x80) return {DefaultHighScore(), true};

  const auto score_bytes = record.subspan(n - 4);
  const std::uint32_t score = score_bytes[0] | (score_bytes[1] << 8) | (score_bytes[2] << 16) |
                              (static_cast<std::uint32_t>(score_bytes[3]) << 24);
  const std::uint8_t key = TextChecksum(score_bytes);

  RecordResult result;
  result.entry.score = static_cast<std::int32_t>(score);
  for (const std::uint8_t b : record.subspan(2, n - kRecordOverhead)) {
    result.entry.name.push_back(static_cast<char>(b ^ key));
  }
  const auto sum = static_cast<std::uint8_t>(TextChecksum(record.subspan(2)) + record[0]);
  result.damaged = sum != record[1];
  return result;
}

}  // namespace

std::uint8_t TextChecksum(std::span<const std::uint8_t> bytes) {
  unsigned sum = 0;
  for (const std::uint8_t b : bytes) sum += b;
  return static_cast<std::uint8_t>(sum & 0xFF);
}

std::uint8_t TextChecksum(std::string_view text) {
  return TextChecksum(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

ParsedHighScores ParseHighScores(std::span<const std::uint8_t> stored) {
  const std::vector<std::uint8_t> plain =
      TogglePositionMask(stored.first(std::min(stored.size(), kHighScoreBytesUsed)));
  std::span<const std::uint8_t> rest(plain);

  ParsedHighScores parsed;
  for (PlainHighScore& entry : parsed.entries) {
    if (rest.empty()) {
      entry = DefaultHighScore();
      continue;
    }
    // A record cut short by the end of the file is taken as it is.
    const std::size_t taken = std::min<std::size_t>(rest[0], rest.size());
    const RecordResult record = ParseRecord(rest.first(taken));
    rest = rest.subspan(taken);
    entry = record.entry;
    if (record.damaged) parsed.cheat_flag = true;
  }
  return parsed;
}

std::vector<std::uint8_t> EncodeHighScores(const HighScoreRanks& entries) {
  std::vector<std::uint8_t> plain;
  for (const PlainHighScore& entry : entries) {
    const std::string_view name =
        std::string_view(entry.name).substr(0, std::min(entry.name.size(), kMaxNameBytes));
    const auto score = static_cast<std::uint32_t>(std::max<std::int32_t>(entry.score, 0));
    const std::array<std::uint8_t, 4> score_bytes = {
        static_cast<std::uint8_t>(score), static_cast<std::uint8_t>(score >> 8),
        static_cast<std::uint8_t>(score >> 16), static_cast<std::uint8_t>(score >> 24)};
    const std::uint8_t key = TextChecksum(score_bytes);

    const std::size_t start = plain.size();
    plain.push_back(static_cast<std::uint8_t>(name.size() + kRecordOverhead));
    plain.push_back(0);  // checksum, filled in below
    for (const char c : name) plain.push_back(static_cast<std::uint8_t>(c) ^ key);
    plain.insert(plain.end(), score_bytes.begin(), score_bytes.end());

    const std::span<const std::uint8_t> record(plain.data() + start, plain.size() - start);
    plain[start + 1] = static_cast<std::uint8_t>(TextChecksum(record.subspan(2)) + record[0]);
  }
  return TogglePositionMask(plain);
}

void LoadHighScores(Session& session, HighScoreTable& table, std::span<const std::uint8_t> stored) {
  const ParsedHighScores parsed = ParseHighScores(stored);
  for (std::size_t rank = 1; rank <= kHighScoreRanks; ++rank) {
    table[rank].entry_name.SetText(parsed.entries[rank - 1].name);
    table[rank].entry_score.SetValue(parsed.entries[rank - 1].score);
  }
  if (parsed.cheat_flag) session.cheat_flag = true;
}

std::vector<std::uint8_t> SaveHighScores(const HighScoreTable& table) {
  HighScoreRanks entries;
  for (std::size_t rank = 1; rank <= kHighScoreRanks; ++rank) {
    entries[rank - 1] = {table[rank].entry_name.Text(), table[rank].entry_score.Value()};
  }
  return EncodeHighScores(entries);
}

}  // namespace mw
