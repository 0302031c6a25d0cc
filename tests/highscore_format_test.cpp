// The high-score file's bytes: the format to the bit, every score edge, the
// longest names, short, cut and foreign files, and any changed byte. (Any
// bytes at all are the fuzz target's.)

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "highscores/high_score_format.h"

namespace mw {
namespace {

using Bytes = std::vector<std::uint8_t>;

HighScoreRanks Ranks(const PlainHighScore& first) {
  return {first, DefaultHighScore(), DefaultHighScore(), DefaultHighScore(), DefaultHighScore()};
}

Bytes StoredFromPlain(const Bytes& plain) {
  Bytes out = plain;
  for (std::size_t i = 0; i < out.size(); ++i) out[i] ^= static_cast<std::uint8_t>((i + 1) & 0xFF);
  return out;
}

TEST(HighScoreFormat, WorkedExampleAndDefaultFileAreReproducedByteForByte) {
  const Bytes stored = EncodeHighScores(Ranks({"abc", 1000}));
  const Bytes first_record(stored.begin(), stored.begin() + 9);
  EXPECT_EQ(first_record, (Bytes{0x08, 0x8d, 0x89, 0x8d, 0x8d, 0xee, 0x04, 0x08, 0x09}));

  const HighScoreRanks defaults = Ranks(DefaultHighScore());
  const Bytes file = EncodeHighScores(defaults);
  ASSERT_EQ(file.size(), 65u);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 13),
            (Bytes{0x0c, 0xeb, 0x6d, 0x6d, 0x60, 0x6b, 0x66, 0x66, 0x6d, 0x0a, 0x0b, 0x0c, 0x0d}));
  const ParsedHighScores parsed = ParseHighScores(file);
  EXPECT_FALSE(parsed.cheat_flag);
  EXPECT_EQ(parsed.entries, defaults);
}

TEST(HighScoreFormat, ScoreEdgesSurviveSaveAndLoad) {
  for (const std::int32_t score : {0, 1, 127, 128, 255, 256, 40000, 65535, 65536, 16777215,
                                   16777216, 0x7FFFFF00, 2147483646, 2147483647}) {
    const HighScoreRanks ranks = {PlainHighScore{"a", score}, PlainHighScore{"", score},
                                  PlainHighScore{std::string(18, 'x'), score},
                                  PlainHighScore{"\xE4\xF6\xFC\xDF|", score}, DefaultHighScore()};
    const ParsedHighScores parsed = ParseHighScores(EncodeHighScores(ranks));
    EXPECT_FALSE(parsed.cheat_flag) << score;
    EXPECT_EQ(parsed.entries, ranks) << score;
  }
  // 40000 is stored little-endian, the name masked with the score bytes' sum.
  const Bytes plain = StoredFromPlain(EncodeHighScores(Ranks({"", 40000})));
  EXPECT_EQ(Bytes(plain.begin(), plain.begin() + 6), (Bytes{6, 0xe2, 0x40, 0x9c, 0, 0}));
}

// Written by another tool: 5 x 255 bytes, past the position mask's 256.
// Longer names than a record can hold are cut rather than corrupting the
// length byte.
TEST(HighScoreFormat, LongestNamesAreKeptAndLongerOnesCut) {
  HighScoreRanks long_names;
  for (std::size_t i = 0; i < long_names.size(); ++i) {
    long_names[i] = {std::string(249, static_cast<char>('A' + i)), static_cast<std::int32_t>(i)};
  }
  const Bytes stored = EncodeHighScores(long_names);
  ASSERT_EQ(stored.size(), 1275u);
  const Bytes plain = StoredFromPlain(stored);
  EXPECT_EQ(stored[255], plain[255]);  // position 256 is unmasked
  EXPECT_EQ(stored[256], plain[256] ^ 1);
  EXPECT_EQ(ParseHighScores(stored).entries, long_names);

  const ParsedHighScores cut = ParseHighScores(EncodeHighScores(Ranks({std::string(400, 'z'), 9})));
  EXPECT_FALSE(cut.cheat_flag);
  EXPECT_EQ(cut.entries[0].name, std::string(249, 'z'));
}

// Short, cut, oversized and impossible files: what is whole is read, the
// rest is the default, and only what the game never writes is flagged.
TEST(HighScoreFormat, ShortCutAndImpossibleFilesFillTheRestWithDefaults) {
  HighScoreRanks ranks = Ranks({"eins", 100});
  ranks[1] = {"langername", 50};
  const Bytes full = EncodeHighScores(ranks);  // records of 10 and 16 bytes
  Bytes big = {6, 6 + 0x80, 0, 0, 0, 0x80};    // summed right, but 2^31
  Bytes longer = full;
  longer.resize(40000, 0xAB);
  struct Case {
    const char* name;
    Bytes bytes;
    bool flagged;
    PlainHighScore first;
    std::optional<PlainHighScore> second;  // none: as much as the cut left
  };
  const PlainHighScore none = DefaultHighScore();
  const PlainHighScore eins{"eins", 100};
  const std::vector<Case> cases{
      {"empty", Bytes{}, false, none, none},
      {"one whole record", Bytes(full.begin(), full.begin() + 10), false, eins, none},
      {"cut in the second", Bytes(full.begin(), full.begin() + 18), true, eins, std::nullopt},
      {"cut below 6 bytes", Bytes(full.begin(), full.begin() + 13), true, eins, none},
      {"length 0", StoredFromPlain(Bytes(30, 0)), true, none, none},
      {"length 5", StoredFromPlain(Bytes(30, 5)), true, none, none},
      {"a score of 2^31", StoredFromPlain(big), true, none, none},
      {"bytes after five records", longer, false, eins, PlainHighScore{"langername", 50}},
  };
  for (const Case& c : cases) {
    const ParsedHighScores parsed = ParseHighScores(c.bytes);
    EXPECT_EQ(parsed.cheat_flag, c.flagged) << c.name;
    EXPECT_EQ(parsed.entries[0], c.first) << c.name;
    if (c.second) {
      EXPECT_EQ(parsed.entries[1], *c.second) << c.name;
    }
    EXPECT_EQ(parsed.entries[4], none) << c.name;
  }
  // The second record cut from 16 bytes to 8 is taken by the length it has.
  EXPECT_EQ(ParseHighScores(cases[2].bytes).entries[1].name.size(), 2u);
}

TEST(HighScoreFormat, AnySingleChangedByteIsNoticed) {
  HighScoreRanks ranks = Ranks({"abc", 1000});
  ranks[1] = {"", 40000};
  ranks[4] = {"z\xFC", 2147483647};
  const Bytes good = EncodeHighScores(ranks);
  for (std::size_t pos = 0; pos < good.size(); ++pos) {
    for (const int flip : {0x01, 0x80, 0xFF}) {
      Bytes bad = good;
      bad[pos] ^= static_cast<std::uint8_t>(flip);
      const ParsedHighScores parsed = ParseHighScores(bad);
      EXPECT_TRUE(parsed.cheat_flag) << "byte " << pos << " flip " << flip;
    }
  }
}

TEST(HighScoreFormat, LoadFillsRanksAndRaisesTheSharedFlag) {
  Session session;
  HighScoreTable table{};
  HighScoreRanks ranks = Ranks({"abc", 1000});
  Bytes stored = EncodeHighScores(ranks);
  LoadHighScores(session, table, stored);
  EXPECT_FALSE(session.cheat_flag);
  EXPECT_EQ(table[1].entry_name.Text(), "abc");
  EXPECT_EQ(table[1].entry_score.Value(), 1000);
  EXPECT_EQ(table[5].entry_name.Text(), "niemand");
  EXPECT_EQ(SaveHighScores(table), stored);

  stored[3] ^= 0x10;  // a name byte: shown changed all the same
  LoadHighScores(session, table, stored);
  EXPECT_TRUE(session.cheat_flag);
  EXPECT_NE(table[1].entry_name.Text(), "abc");
  EXPECT_EQ(table[1].entry_score.Value(), 1000);
}

}  // namespace
}  // namespace mw
