#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>

#include "errors/runtime_error.h"
#include "highscores/high_score_ranking.h"

namespace mw {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

HighScoreTable TableOf(const std::array<std::int32_t, 5>& scores) {
  HighScoreTable table{};
  for (std::size_t i = 0; i < scores.size(); ++i) {
    table[i + 1].entry_score.SetValue(scores[i]);
    table[i + 1].entry_name.SetText(std::to_string(scores[i]).insert(0, 1, 'p'));
  }
  table[6].entry_name.SetText("|");
  return table;
}

std::array<std::int32_t, 7> ScoresOf(const HighScoreTable& table) {
  std::array<std::int32_t, 7> out{};
  for (std::size_t i = 0; i < table.size(); ++i) out[i] = table[i].entry_score.Value();
  return out;
}

TEST(HighScoreRanking, NormalisesToTwelveMinutesAndShowsBack) {
  EXPECT_EQ(NormalizedScore(125, 90), 1000);
  EXPECT_EQ(DisplayedScore(1000, 90), "125");
  EXPECT_EQ(DisplayedScore(1000, 720), "1000");
  EXPECT_EQ(DisplayedScore(800, 90), "100");
  EXPECT_EQ(DisplayedScore(1001, 180), "250");  // rounds down, never up
  EXPECT_EQ(DisplayedScore(kMax, 90), "268435455");
  EXPECT_EQ(NormalizedScore(7, 180), 28);
  EXPECT_EQ(NormalizedScore(3, 720), 3);
  // Halves go to the even neighbour (only odd game times produce them).
  EXPECT_EQ(NormalizedScore(1, 1440), 0);
  EXPECT_EQ(NormalizedScore(3, 1440), 2);
  EXPECT_EQ(NormalizedScore(5, 1440), 2);
  EXPECT_THROW(NormalizedScore(1, 0), RuntimeError);
}

TEST(HighScoreRanking, NormalisationNeverOverflows) {
  EXPECT_EQ(NormalizedScore(kMax, 90), kMax);
  EXPECT_EQ(NormalizedScore(kMax / 8, 90), kMax / 8 * 8);
  EXPECT_EQ(NormalizedScore(kMax / 8 + 1, 90), kMax);
  EXPECT_EQ(NormalizedScore(std::numeric_limits<std::int32_t>::min(), 90), 0);
  EXPECT_EQ(NormalizedScore(-200, 90), 0);
  EXPECT_EQ(NormalizedScore(-10000, 720), 0);
}

TEST(HighScoreRanking, InsertsAtEveryRankWithTiesBelow) {
  const std::array<std::int32_t, 5> base = {100, 80, 60, 40, 20};
  struct Case {
    std::int32_t score;
    std::int16_t row;
    std::array<std::int32_t, 7> after;  // slot 0 unused
  };
  const Case cases[] = {
      {150, 1, {0, 150, 100, 80, 60, 40, 20}}, {100, 2, {0, 100, 100, 80, 60, 40, 20}},
      {90, 2, {0, 100, 90, 80, 60, 40, 20}},   {60, 4, {0, 100, 80, 60, 60, 40, 20}},
      {50, 4, {0, 100, 80, 60, 50, 40, 20}},   {21, 5, {0, 100, 80, 60, 40, 21, 20}},
      {20, 6, {0, 100, 80, 60, 40, 20, 20}},   {5, 6, {0, 100, 80, 60, 40, 20, 5}},
      {0, 6, {0, 100, 80, 60, 40, 20, 0}},
  };
  for (const Case& c : cases) {
    HighScoreTable table = TableOf(base);
    EXPECT_EQ(InsertScore(table, c.score), c.row) << c.score;
    EXPECT_EQ(ScoresOf(table), c.after) << c.score;
    if (c.row <= 5) {
      EXPECT_EQ(table[static_cast<std::size_t>(c.row)].entry_name.Text(), "|");
      EXPECT_EQ(table[6].entry_name.Text(), "p20");  // the old fifth drops out
    }
  }
  HighScoreTable table = TableOf(base);
  table[4].entry_name.SetText("vier");
  EXPECT_EQ(InsertScore(table, 50), 4);
  EXPECT_EQ(table[5].entry_name.Text(), "vier");
}

TEST(HighScoreRanking, NameEntryKeepsEighteenCharactersAndIgnoresControls) {
  GuardedText name;
  name.SetText("|");
  ApplyTypedCharacter(8, name);  // Backspace on an empty name
  EXPECT_EQ(name.Text(), "|");
  for (const int control : {9, 13, 27, 1, 31, 0}) {
    ApplyTypedCharacter(static_cast<std::uint8_t>(control), name);
    EXPECT_EQ(name.Text(), "|") << control;
  }
  for (int i = 0; i < 20; ++i) {
    ApplyTypedCharacter(static_cast<std::uint8_t>(i % 2 == 0 ? 0xE4 : 'a' + i),
                        name);  // ä, letters
  }
  const std::string typed = name.Text();
  ASSERT_EQ(typed.size(), 19u);
  EXPECT_EQ(typed.back(), '|');
  EXPECT_EQ(typed.front(), '\xE4');

  for (const int kept : {32, int{'|'}, 255}) {
    GuardedText other;
    other.SetText("x|");
    ApplyTypedCharacter(static_cast<std::uint8_t>(kept), other);
    EXPECT_EQ(other.Text(), (std::string{'x', static_cast<char>(kept), '|'}));
  }
  ApplyTypedCharacter(8, name);
  EXPECT_EQ(name.Text().size(), 18u);
  EXPECT_EQ(name.Text().back(), '|');
}

}  // namespace
}  // namespace mw
