// The weapon rules that a whole game (the golden game run) does not pin down:
// the wiper button's exact bounds and a machine-gun aim point that outlives
// the trigger.

#include <gtest/gtest.h>

#include "test_world.h"

namespace mw::test {
namespace {

using Shown = PhaseWorld::Shown;

TEST(GameplayWiper, ButtonBoundsAreExclusive) {
  const std::vector<Point> wipes{{171, 451}, {369, 479}, {250, 460}};
  const std::vector<Point> shots{{170, 460}, {370, 460}, {250, 450}, {171, 450}};
  for (const Point p : wipes) {
    PhaseWorld w;
    w.game.splat_count = 17;
    const std::int32_t ring = w.game.message_index;
    w.mouse = p;
    w.held = {vk::kLeftButton};
    w.Frame();
    EXPECT_TRUE(w.play.wiper_flashed) << "the frame of the wipe flashes";
    w.held.clear();
    w.Frame();
    EXPECT_FALSE(w.play.wiper_flashed) << "for one frame only";
    EXPECT_EQ(w.game.splat_count, 0) << p.x << "," << p.y;
    EXPECT_EQ(w.game.score.Value(), -50);
    EXPECT_EQ(w.game.cartridges.Value(), 8);
    EXPECT_TRUE(w.Sounds().empty());
    EXPECT_EQ(w.MessagesSince(ring), (std::vector<Shown>{{-300, 420, "-50"}}));
  }
  for (const Point p : shots) {
    PhaseWorld w;
    w.game.splat_count = 17;
    w.Click(p);
    EXPECT_EQ(w.game.splat_count, 17) << p.x << "," << p.y;
    EXPECT_FALSE(w.play.wiper_flashed);
    EXPECT_EQ(w.game.cartridges.Value(), 7);
  }
}

TEST(GameplayMachineGun, ReleasedTriggerLeavesNoShotBehind) {
  PhaseWorld w;
  w.game.mg_steps_per_shot.SetValue(1);
  w.held = {vk::kKey2};
  w.Frame();
  w.held = {vk::kLeftButton};
  w.mouse = {400, 300};
  w.Frame(true);
  ASSERT_TRUE(w.play.shot_fired);
  w.held.clear();
  // A gull flying into the old aim point afterwards is not hit.
  w.AddGull(static_cast<std::int16_t>(400 - 960 + 640), 300 - 240, 50);
  w.Frame(false);
  w.Frame(true);
  EXPECT_FALSE(w.play.shot_fired);
  EXPECT_EQ(w.game.gulls[1].frame, 2);
  EXPECT_EQ(w.game.score.Value(), -1);
}

}  // namespace
}  // namespace mw::test
