// The gulls' own arithmetic, which a whole game (the golden runs) passes
// through without pinning it down: rounding of small drifts, tiny far
// pictures, one shot through several gulls, the fall, the splat's random
// draws, the forced wipe, and a value beyond its field.

#include <gtest/gtest.h>

#include <cmath>

#include "platform/runtime_error.h"
#include "test_world.h"

namespace mw::test {
namespace {

using Shown = PhaseWorld::Shown;

// Floor(GameRandom * n) from a copy of the game's generator.
int Draw(GameRandom& r, int n) {
  return static_cast<int>(std::floor(static_cast<double>(r.Next()) * n));
}

// The screen point at the top-left corner of a gull's picture.
Point GullCorner(const PhaseWorld& w, const Gull& g) {
  return {g.x + 960 - w.game.view_x.Value(), g.y + 240};
}

TEST(GameplayGulls, SmallDriftsRoundAwayUntilTheGullIsNear) {
  for (const std::int16_t start_x : {std::int16_t{0}, std::int16_t{1}}) {
    PhaseWorld w;
    const std::size_t i = w.AddGull(start_x, -100, 50);
    w.game.gulls[i].drift_x = 4;
    w.game.gulls[i].drift_y = -1;  // rounds away all the way down to Distance 4
    w.Steps(33);
    EXPECT_EQ(w.game.gulls[i].distance, 17);
    EXPECT_EQ(w.game.gulls[i].x, start_x) << "8 / Distance stays below 0.5";
    EXPECT_EQ(w.game.gulls[i].y, -100);
    w.Steps(1);
    // 8 / 16 is exactly one half: an even X stays, an odd one moves on.
    EXPECT_EQ(w.game.gulls[i].x, start_x == 0 ? 0 : 2);
    EXPECT_EQ(w.game.gulls[i].frame, 3) << "34 wing beats from frame 1";
  }
}

// Gull 100 of a "viele" game before its first step: Distance 175, and a
// picture only 2 x 1 pixels, edges included.
TEST(GameplayGulls, AFarGullIsHitOnItsTinyPictureOnly) {
  PhaseWorld far;
  const std::size_t i = far.AddGull(0, 0, 175);
  const Point corner = GullCorner(far, far.game.gulls[i]);
  far.Click({corner.x + 3, corner.y});
  far.Click({corner.x, corner.y + 2});
  EXPECT_EQ(far.game.score.Value(), 0) << "just outside";
  far.Click({corner.x + 2, corner.y + 1});
  EXPECT_EQ(far.game.score.Value(), 175);
}

TEST(GameplayGulls, OneShotHitsEveryFlyingGullUnderItButNoFallingOne) {
  PhaseWorld w;
  const std::size_t a = w.AddGull(0, 0, 10);
  const std::size_t b = w.AddGull(5, 5, 20);
  const std::size_t falling = w.AddGull(0, 0, 30);
  w.game.gulls[falling].frame = 0;
  const std::int32_t ring = w.game.message_index;
  w.Click({325, 250});
  EXPECT_EQ(w.game.score.Value(), 30);
  EXPECT_EQ(w.game.gulls[a].frame, 0);
  EXPECT_EQ(w.game.gulls[b].frame, 0);
  EXPECT_EQ(w.Sounds(), (std::vector<int>{0, 6, 6}));
  EXPECT_EQ(w.MessagesSince(ring), (std::vector<Shown>{{960, 240, "10"}, {965, 245, "20"}}));
}

TEST(GameplayGulls, AShotGullFallsToTheSeaAtItsDistance) {
  struct Case {
    std::int16_t distance;
    int rows_per_step;
    int sea_row;
  };
  for (const Case c : {Case{40, 1, 280}, Case{2, 25, 470}}) {
    PhaseWorld w;
    const std::size_t i = w.AddGull(0, -200, c.distance);
    w.game.gulls[i].frame = 0;
    w.game.splat_one_in.SetValue(1);  // any splat chance would be taken
    int steps = 0;
    while (w.game.gulls[i].frame == 0) {
      const int before = w.game.gulls[i].y;
      w.Frame(true);
      ++steps;
      if (w.game.gulls[i].frame != 0) break;
      ASSERT_EQ(w.game.gulls[i].y - before, c.rows_per_step);
      ASSERT_EQ(w.game.gulls[i].distance, c.distance) << "a fall keeps its distance";
      ASSERT_LT(steps, 300);
    }
    // It reached the sea row and was replaced in the same frame: no splat.
    const int top_row = 40 + c.rows_per_step * steps;
    EXPECT_GE(top_row, c.sea_row);
    EXPECT_LT(top_row - c.rows_per_step, c.sea_row);
    EXPECT_EQ(w.game.gulls[i].distance, 50);
    EXPECT_EQ(w.game.gulls[i].frame, 1);
    EXPECT_EQ(w.game.splat_count, 0);
    EXPECT_TRUE(w.Sounds().empty());
  }
}

TEST(GameplayGulls, AnArrivingGullMaySplatTheWindscreen) {
  PhaseWorld w;
  w.game.splat_one_in.SetValue(1);
  const std::size_t i = w.AddGull(123, -50, 1);
  GameRandom expected = w.game.random;
  w.Frame(true);
  EXPECT_EQ(w.game.splat_count, 1);
  EXPECT_EQ(w.game.splats[1].x, 123 + 960);
  EXPECT_EQ(Draw(expected, 1), 0);
  EXPECT_EQ(w.game.splats[1].y, Draw(expected, 380));
  EXPECT_EQ(w.game.gulls[i].x, Draw(expected, 1920) - 960);
  EXPECT_EQ(w.game.gulls[i].distance, 50);
  EXPECT_EQ(w.game.gulls[i].frame, 2);
  EXPECT_EQ(w.Sounds(), (std::vector<int>{5}));

  // With a chance of one in a million nothing lands, but the chance is drawn.
  PhaseWorld lucky;
  lucky.game.splat_one_in.SetValue(1000000);
  lucky.AddGull(0, 0, 1);
  GameRandom drawn = lucky.game.random;
  lucky.Frame(true);
  EXPECT_EQ(lucky.game.splat_count, 0);
  for (int n = 0; n < 4; ++n) drawn.Next();
  EXPECT_EQ(lucky.game.random.State(), drawn.State());
}

TEST(GameplayGulls, The501stSplatForcesAWipeIntoEntryZero) {
  PhaseWorld w;
  w.game.splat_one_in.SetValue(1);
  w.game.splat_count = 500;
  w.game.splats[500] = {7, 7};
  w.AddGull(40, 0, 1);
  const std::int32_t ring = w.game.message_index;
  w.Frame(true);
  EXPECT_EQ(w.game.splat_count, 0);
  EXPECT_EQ(w.game.splats[0].x, 1000);
  EXPECT_EQ(w.game.splats[500].x, 7);
  EXPECT_EQ(w.game.splats[500].y, 7);
  EXPECT_EQ(w.game.score.Value(), -200);
  EXPECT_EQ(w.Sounds(), (std::vector<int>{5}));
  EXPECT_EQ(w.MessagesSince(ring), (std::vector<Shown>{{-110, 420, "-200 Zwangsscheibenwischer"}}));
}

TEST(GameplayGulls, AValueBeyondItsSixteenBitFieldIsARunTimeError) {
  PhaseWorld w;
  const std::size_t i = w.AddGull(0, 32760, 1);
  w.game.gulls[i].frame = 0;
  EXPECT_THROW(w.Frame(true), RuntimeError);
}

}  // namespace
}  // namespace mw::test
