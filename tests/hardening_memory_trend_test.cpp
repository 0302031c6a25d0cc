// How the long run judges memory: by the trend of the heap in use over the
// games after the first and by what the platform holds, never by one point
// or by the resident size. (The bot's planted leak: hardening_soak_test.)

#include <gtest/gtest.h>

#include "soak/memory_trend.h"
#include "soak/soak_bot.h"

namespace mw {
namespace {

std::vector<SoakGame> GamesEndingWith(const std::vector<std::int64_t>& heap_ends) {
  std::vector<SoakGame> games(heap_ends.size());
  for (std::size_t i = 0; i < games.size(); ++i) {
    games[i].heap_end = heap_ends[i];
    games[i].resident_end = static_cast<std::int64_t>(80 + 3 * (i % 3)) << 20;  // noisy
    games[i].live_end = {6, 0, 7, 3, 256};
  }
  return games;
}

TEST(HardeningMemoryTrend, NoiseAndAWarmFirstGamePassALeakFails) {
  const std::int64_t base = 4 << 20;
  // The first game fills caches; then a few hundred bytes up and down.
  EXPECT_TRUE(MemoryProblems(
                  GamesEndingWith({base - (900 << 10), base, base + 300, base - 200, base + 600}))
                  .empty());
  // Fewer than three games say nothing about a trend (and no slope divides by zero).
  EXPECT_DOUBLE_EQ(LeastSquaresSlope({}), 0);
  EXPECT_DOUBLE_EQ(LeastSquaresSlope({5}), 0);
  EXPECT_TRUE(MemoryProblems(GamesEndingWith({base, base + (900 << 10)})).empty());

  const auto leaking = MemoryProblems(GamesEndingWith(
      {base, base + (100 << 10), base + (200 << 10), base + (300 << 10), base + (400 << 10)}));
  ASSERT_EQ(leaking.size(), 1u);
  EXPECT_NE(leaking[0].find("grows by 100.0 KB a game"), std::string::npos) << leaking[0];
  // Just above the bound fails, on it passes.
  const auto by = [&](std::int64_t step) {
    return MemoryProblems(GamesEndingWith({base, base, base + step, base + 2 * step}));
  };
  EXPECT_TRUE(by(static_cast<std::int64_t>(kMaxHeapGrowthPerGame)).empty());
  EXPECT_EQ(by(static_cast<std::int64_t>(kMaxHeapGrowthPerGame) + 8).size(), 1u);
}

TEST(HardeningMemoryTrend, AnyMoreSurfacesSoundsOrFontsThanTheSecondGameFail) {
  auto games = GamesEndingWith({1000, 1000, 1000, 1000});
  games[3].live_end.rendered_texts = 200;  // a bounded cache: not judged
  games[0].live_end.fonts = 2;             // the first game opens what it needs
  EXPECT_TRUE(MemoryProblems(games).empty());

  games[3].live_end.surfaces = 7;
  const auto problems = MemoryProblems(games);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0],
            "game 4 ended holding 7 surfaces, 0 textures, 7 sounds, 3 fonts, game 2 6 surfaces, 0 "
            "textures, 7 sounds, 3 fonts");
  games[3].live_end.surfaces = 6;
  games[2].live_end.sounds = 8;
  EXPECT_EQ(MemoryProblems(games).size(), 1u);
}

}  // namespace
}  // namespace mw
