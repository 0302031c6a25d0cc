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
  return {g.X + 960 - w.game.ViewX.Value(), g.Y + 240};
}

TEST(GameplayGulls, ANewGullDrawsXThenYThenDrift) {
  PhaseWorld w;
  GameRandom expected = w.game.Random;
  Gull g;
  g.Frame = 6;
  NewGull(w.game, g);
  const int x = Draw(expected, 1920) - 960;
  const int y = Draw(expected, 240) - 240;
  const int drift_x = Draw(expected, 20) - 10;
  EXPECT_EQ(g.X, x);
  EXPECT_EQ(g.Y, y);
  EXPECT_EQ(g.DriftX, drift_x);
  EXPECT_EQ(g.DriftY, static_cast<int>(std::nearbyint(-(y + 290) / 4.5)));
  EXPECT_EQ(g.Distance, 50);
  EXPECT_EQ(g.Frame, 6) << "the wing beat goes on";
  EXPECT_EQ(w.game.Random.State(), expected.State());
}

TEST(GameplayGulls, SmallDriftsRoundAwayUntilTheGullIsNear) {
  for (const std::int16_t start_x : {std::int16_t{0}, std::int16_t{1}}) {
    PhaseWorld w;
    const std::size_t i = w.AddGull(start_x, -100, 50);
    w.game.Gulls[i].DriftX = 4;
    w.game.Gulls[i].DriftY = -1;  // rounds away all the way down to Distance 4
    w.Steps(33);
    EXPECT_EQ(w.game.Gulls[i].Distance, 17);
    EXPECT_EQ(w.game.Gulls[i].X, start_x) << "8 / Distance stays below 0.5";
    EXPECT_EQ(w.game.Gulls[i].Y, -100);
    w.Steps(1);
    // 8 / 16 is exactly one half: an even X stays, an odd one moves on.
    EXPECT_EQ(w.game.Gulls[i].X, start_x == 0 ? 0 : 2);
    EXPECT_EQ(w.game.Gulls[i].Frame, 3) << "34 wing beats from frame 1";
  }
}

TEST(GameplayGulls, AHitScoresTheDistanceAtThatMoment) {
  PhaseWorld w;
  const std::size_t fresh = w.AddGull(-300, -200, 50);
  const Gull g = w.game.Gulls[fresh];
  const std::int32_t ring = w.game.MessageIndex;
  w.Click(GullCorner(w, g));
  EXPECT_EQ(w.game.Score.Value(), 50);
  EXPECT_EQ(w.game.Gulls[fresh].Frame, 0);
  EXPECT_EQ(w.Sounds(), (std::vector<int>{0, 6}));
  EXPECT_EQ(w.MessagesSince(ring), (std::vector<Shown>{{660, 40, "50"}}));

  // Gull 100 of a "viele" game before its first step: Distance 175, and a
  // picture only 2 x 1 pixels, edges included.
  PhaseWorld far;
  const std::size_t i = far.AddGull(0, 0, 175);
  const Point corner = GullCorner(far, far.game.Gulls[i]);
  far.Click({corner.x + 3, corner.y});
  far.Click({corner.x, corner.y + 2});
  EXPECT_EQ(far.game.Score.Value(), 0) << "just outside";
  far.Click({corner.x + 2, corner.y + 1});
  EXPECT_EQ(far.game.Score.Value(), 175);
}

TEST(GameplayGulls, InShipModeAHitCostsItsPoints) {
  PhaseWorld w;
  w.game.ShipHits = 3;
  const std::size_t i = w.AddGull(0, 0, 37);
  const std::int32_t ring = w.game.MessageIndex;
  w.Click(GullCorner(w, w.game.Gulls[i]));
  EXPECT_EQ(w.game.Score.Value(), -37);
  EXPECT_EQ(w.MessagesSince(ring), (std::vector<Shown>{{960, 240, "-37"}}));
}

TEST(GameplayGulls, OneShotHitsEveryFlyingGullUnderItButNoFallingOne) {
  PhaseWorld w;
  const std::size_t a = w.AddGull(0, 0, 10);
  const std::size_t b = w.AddGull(5, 5, 20);
  const std::size_t falling = w.AddGull(0, 0, 30);
  w.game.Gulls[falling].Frame = 0;
  const std::int32_t ring = w.game.MessageIndex;
  w.Click({325, 250});
  EXPECT_EQ(w.game.Score.Value(), 30);
  EXPECT_EQ(w.game.Gulls[a].Frame, 0);
  EXPECT_EQ(w.game.Gulls[b].Frame, 0);
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
    w.game.Gulls[i].Frame = 0;
    w.game.SplatOneIn.SetValue(1);  // any splat chance would be taken
    int steps = 0;
    while (w.game.Gulls[i].Frame == 0) {
      const int before = w.game.Gulls[i].Y;
      w.Frame(true);
      ++steps;
      if (w.game.Gulls[i].Frame != 0) break;
      ASSERT_EQ(w.game.Gulls[i].Y - before, c.rows_per_step);
      ASSERT_EQ(w.game.Gulls[i].Distance, c.distance) << "a fall keeps its distance";
      ASSERT_LT(steps, 300);
    }
    // It reached the sea row and was replaced in the same frame: no splat.
    const int top_row = 40 + c.rows_per_step * steps;
    EXPECT_GE(top_row, c.sea_row);
    EXPECT_LT(top_row - c.rows_per_step, c.sea_row);
    EXPECT_EQ(w.game.Gulls[i].Distance, 50);
    EXPECT_EQ(w.game.Gulls[i].Frame, 1);
    EXPECT_EQ(w.game.SplatCount, 0);
    EXPECT_TRUE(w.Sounds().empty());
  }
}

TEST(GameplayGulls, AnArrivingGullMaySplatTheWindscreen) {
  PhaseWorld w;
  w.game.SplatOneIn.SetValue(1);
  const std::size_t i = w.AddGull(123, -50, 1);
  GameRandom expected = w.game.Random;
  w.Frame(true);
  EXPECT_EQ(w.game.SplatCount, 1);
  EXPECT_EQ(w.game.Splats[1].X, 123 + 960);
  EXPECT_EQ(Draw(expected, 1), 0);
  EXPECT_EQ(w.game.Splats[1].Y, Draw(expected, 380));
  EXPECT_EQ(w.game.Gulls[i].X, Draw(expected, 1920) - 960);
  EXPECT_EQ(w.game.Gulls[i].Distance, 50);
  EXPECT_EQ(w.game.Gulls[i].Frame, 2);
  EXPECT_EQ(w.Sounds(), (std::vector<int>{5}));

  // With a chance of one in a million nothing lands, but the chance is drawn.
  PhaseWorld lucky;
  lucky.game.SplatOneIn.SetValue(1000000);
  lucky.AddGull(0, 0, 1);
  GameRandom drawn = lucky.game.Random;
  lucky.Frame(true);
  EXPECT_EQ(lucky.game.SplatCount, 0);
  for (int n = 0; n < 4; ++n) drawn.Next();
  EXPECT_EQ(lucky.game.Random.State(), drawn.State());
}

TEST(GameplayGulls, The501stSplatForcesAWipeIntoEntryZero) {
  PhaseWorld w;
  w.game.SplatOneIn.SetValue(1);
  w.game.SplatCount = 500;
  w.game.Splats[500] = {7, 7};
  w.AddGull(40, 0, 1);
  const std::int32_t ring = w.game.MessageIndex;
  w.Frame(true);
  EXPECT_EQ(w.game.SplatCount, 0);
  EXPECT_EQ(w.game.Splats[0].X, 1000);
  EXPECT_EQ(w.game.Splats[500].X, 7);
  EXPECT_EQ(w.game.Splats[500].Y, 7);
  EXPECT_EQ(w.game.Score.Value(), -200);
  EXPECT_EQ(w.Sounds(), (std::vector<int>{5}));
  EXPECT_EQ(w.MessagesSince(ring), (std::vector<Shown>{{-110, 420, "-200 Zwangsscheibenwischer"}}));
}

TEST(GameplayGulls, AValueBeyondItsSixteenBitFieldIsARunTimeError) {
  PhaseWorld w;
  const std::size_t i = w.AddGull(0, 32760, 1);
  w.game.Gulls[i].Frame = 0;
  EXPECT_THROW(w.Frame(true), RuntimeError);
}

}  // namespace
}  // namespace mw::test
