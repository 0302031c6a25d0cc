// The gulls at the edges no golden game reaches: a tiny far picture, one shot
// through several gulls, the 501st splat, a value beyond its field. (Flight,
// fall, rounding and the random draws shape every golden game's log.)

#include <gtest/gtest.h>

#include "errors/runtime_error.h"
#include "test_world.h"

namespace mw::test {
namespace {

using Shown = PhaseWorld::Shown;

// The screen point at the top-left corner of a gull's picture.
Point GullCorner(const PhaseWorld& w, const Gull& g) {
  return {g.x + 960 - w.game.view_x.Value(), g.y + 240};
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
