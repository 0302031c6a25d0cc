#include <gtest/gtest.h>

#include "test_world.h"

namespace mw::test {
namespace {

using Shown = PhaseWorld::Shown;

constexpr Point kAim{320, 240};

TEST(GameplayRifle, FiresEightShotsClicksWhenEmptyAndReloadsOnlyFromEmpty) {
  PhaseWorld w;
  for (int shot = 1; shot <= 8; ++shot) {
    w.mouse = kAim;
    w.held = {vk::kLeftButton};
    w.Frame();
    EXPECT_TRUE(w.play.shot_fired) << shot;
    EXPECT_EQ(w.game.shot_pos, kAim);
    EXPECT_EQ(w.game.cartridges.Value(), 8 - shot);
    w.held.clear();
    w.Frame();
    EXPECT_FALSE(w.play.shot_fired);
  }
  EXPECT_EQ(w.Sounds(), std::vector<int>(8, 0));

  w.Click(kAim);  // empty: a click, no shot
  EXPECT_EQ(w.Sounds().back(), 1);
  EXPECT_EQ(w.game.cartridges.Value(), 0);

  const std::int32_t ring = w.game.message_index;
  w.held = {vk::kRightButton};
  w.Frame();
  w.Frame();  // still the same press: no second reload
  EXPECT_EQ(w.game.cartridges.Value(), 8);
  EXPECT_EQ(w.game.score.Value(), -8);
  EXPECT_EQ(w.Sounds().back(), 3);
  EXPECT_EQ(w.MessagesSince(ring), (std::vector<Shown>{{-600, 420, "-8"}}));

  // A fresh right-click with a partly filled magazine does nothing.
  w.held.clear();
  w.Frame();
  w.Click(kAim);
  w.Click(kAim, vk::kRightButton);
  EXPECT_EQ(w.game.cartridges.Value(), 7);
  EXPECT_EQ(w.game.score.Value(), -8);
}

TEST(GameplayRifle, HeldButtonFiresOnceUntilReleased) {
  PhaseWorld w;
  w.held = {vk::kLeftButton};
  w.Frame();
  EXPECT_TRUE(w.play.shot_fired);
  for (int i = 0; i < 4; ++i) {
    w.Frame(true);
    EXPECT_FALSE(w.play.shot_fired);
  }
  EXPECT_EQ(w.game.cartridges.Value(), 7);
  w.Click(kAim);
  EXPECT_EQ(w.game.cartridges.Value(), 7) << "released for no frame yet";
  w.held.clear();
  w.Frame();
  w.Click(kAim);
  EXPECT_EQ(w.game.cartridges.Value(), 6);
}

TEST(GameplayWeapons, SwitchingKeepsTheRiflesCartridges) {
  PhaseWorld w;
  for (int i = 0; i < 5; ++i) w.Click(kAim);
  const std::int32_t ring = w.game.message_index;

  w.held = {vk::kKey2};
  w.Frame();
  w.Frame();  // the weapon in use: no change, no message
  EXPECT_EQ(w.game.weapon, 2);
  EXPECT_EQ(w.game.cartridges.Value(), 0);
  EXPECT_EQ(w.game.saved_cartridges.Value(), 3);
  w.held = {vk::kRightButton};  // the machine gun has no reload
  w.Frame();
  EXPECT_EQ(w.game.cartridges.Value(), 0);

  w.held = {vk::kKey1};
  w.Frame();
  EXPECT_EQ(w.game.weapon, 1);
  EXPECT_EQ(w.game.cartridges.Value(), 3);
  EXPECT_EQ(w.MessagesSince(ring),
            (std::vector<Shown>{{-110, 420, "- Maschinengewehr -"}, {-110, 420, "- Gewehr -"}}));
  EXPECT_EQ(w.game.score.Value(), 0);
}

TEST(GameplayWeapons, BothKeysHeldSwitchInEveryFrame) {
  PhaseWorld w;
  const std::int32_t ring = w.game.message_index;
  w.held = {vk::kKey1, vk::kKey2};
  std::vector<int> weapons;
  for (int i = 0; i < 4; ++i) {
    w.Frame();
    weapons.push_back(w.game.weapon);
  }
  EXPECT_EQ(weapons, (std::vector<int>{2, 1, 2, 1}));
  const auto shown = w.MessagesSince(ring);
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0].text, "- Maschinengewehr -");
  EXPECT_EQ(shown[1].text, "- Gewehr -");
  EXPECT_EQ(shown[3].text, "- Gewehr -");
  EXPECT_EQ(w.game.cartridges.Value(), 8);
}

TEST(GameplayMachineGun, FiresOnEveryMpSpeedthStepAndCostsOneAShot) {
  PhaseWorld w;
  w.game.mg_steps_per_shot.SetValue(5);
  w.game.mg_counter = 0;
  w.held = {vk::kKey2};
  w.Frame();
  const std::int32_t ring = w.game.message_index;
  w.held = {vk::kLeftButton};
  std::vector<int> fired_at;
  for (int frame = 1; frame <= 20; ++frame) {
    const bool step = frame % 2 == 0;  // every other frame is a game step
    w.mouse = {100 + frame, 200};
    w.Frame(step);
    EXPECT_EQ(w.game.shot_pos, (Point{100 + frame, 200})) << "the aim follows the mouse";
    if (w.play.shot_fired) fired_at.push_back(frame);
  }
  // Steps 5 and 10 are frames 10 and 20; a shot counts only in its own play.
  EXPECT_EQ(fired_at, (std::vector<int>{10, 20}));
  EXPECT_EQ(w.game.score.Value(), -2);
  EXPECT_EQ(w.Sounds(), (std::vector<int>{0, 0}));
  EXPECT_EQ(w.MessagesSince(ring), (std::vector<Shown>{{-600, 420, "-1"}, {-600, 420, "-1"}}));

  // The counter runs on from where it stopped: the next shot is 5 steps on.
  w.held.clear();
  w.Frame(true);
  EXPECT_FALSE(w.play.shot_fired);
  w.held = {vk::kLeftButton};
  w.Steps(4);
  EXPECT_FALSE(w.play.shot_fired);
  w.Frame(true);
  EXPECT_TRUE(w.play.shot_fired);
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

TEST(GameplayWiper, ButtonBoundsAreExclusive) {
  const std::vector<Point> wipes{{171, 451}, {369, 479}, {250, 460}};
  const std::vector<Point> shots{{170, 460}, {370, 460}, {250, 450}, {171, 450}};
  for (const Point p : wipes) {
    PhaseWorld w;
    w.game.splat_count = 17;
    const std::int32_t ring = w.game.message_index;
    w.Click(p);
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
    EXPECT_EQ(w.game.cartridges.Value(), 7);
  }
}

TEST(GameplayWiper, FlashesOncePerPressAndWorksWithAnEmptyWindscreen) {
  PhaseWorld w;
  Surface& back = w.game.back_buffer;
  w.mouse = {200, 460};
  w.held = {vk::kLeftButton};
  w.Frame();
  EXPECT_EQ(back.PixelAt(0, 0), 240u);
  EXPECT_EQ(back.PixelAt(839, 579), 240u);
  EXPECT_EQ(w.game.score.Value(), -50);
  back.FillRect(Rect{}, 0);  // the next frame's sea
  w.Frame();
  EXPECT_EQ(back.PixelAt(400, 300), 0u);
  EXPECT_EQ(w.game.score.Value(), -50);

  // The machine gun wipes on a press that starts on the button; held and
  // dragged onto it, it fires instead.
  w.held = {vk::kKey2};
  w.Frame();
  w.held = {vk::kLeftButton};
  w.game.mg_steps_per_shot.SetValue(1);
  w.Frame(true);
  EXPECT_EQ(w.game.score.Value(), -100);
  EXPECT_FALSE(w.play.shot_fired);
  w.held.clear();
  w.Frame();
  w.mouse = {100, 100};
  w.held = {vk::kLeftButton};
  w.Frame(true);
  w.mouse = {200, 460};
  w.Frame(true);
  EXPECT_TRUE(w.play.shot_fired);
  EXPECT_EQ(w.game.score.Value(), -102);
}

}  // namespace
}  // namespace mw::test
