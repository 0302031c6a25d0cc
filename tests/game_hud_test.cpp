// The play screen's HUD as a player sees it: pixels of the shown play.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "game/hud.h"
#include "game/screen_geometry.h"
#include "test_world.h"

namespace mw {
namespace {

using World = test::World;

constexpr Colour kWhite = Rgb(255, 255, 255);

// The screen rectangle [left, right) x [top, bottom) that holds the pixels
// matching `wanted`; all zero when none does.
Rect BoundsOf(const HeadlessPlatform& platform, Rect area,
              const std::function<bool(Colour)>& wanted) {
  Rect found{area.right, area.bottom, area.left, area.top};
  bool any = false;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (!wanted(platform.FramePixel(x, y))) continue;
      any = true;
      found.left = std::min(found.left, x);
      found.top = std::min(found.top, y);
      found.right = std::max(found.right, x + 1);
      found.bottom = std::max(found.bottom, y + 1);
    }
  }
  return any ? found : Rect{};
}

bool Dark(Colour c) {
  return RedOf(c) < 100 && GreenOf(c) < 100 && BlueOf(c) < 100;
}
bool Reddish(Colour c) {
  return RedOf(c) > 150 && GreenOf(c) < 100 && BlueOf(c) < 100;
}
bool NotWhite(Colour c) {
  return c != kWhite;
}

// A game whose HUD is drawn over a plain background and shown.
struct HudWorld : World {
  HudWorld() { SetUpGame(); }
  void Show(Colour background) {
    Surface& back = game.back_buffer;
    back.FillRect(Rect{}, back.MapColour(background));
    DrawHud(ctx);
    DrawCrosshairAndFlip(ctx, {320, 240});
  }
};

TEST(GameHud, ClockTextAndColour) {
  EXPECT_EQ(ClockText(720), "12:00");
  EXPECT_EQ(ClockText(89), "1:29");
  EXPECT_EQ(ClockText(60), "1:00");
  EXPECT_EQ(ClockText(11), "0:11");
  EXPECT_EQ(ClockText(10), "0:10");
  EXPECT_EQ(ClockText(1), "0:01");

  HudWorld world;
  const Rect clock_area{0, 0, 100, 35};
  world.game.time_left.SetValue(11);
  world.Show(kWhite);
  EXPECT_NE(BoundsOf(world.platform, clock_area, Dark), Rect{}) << "0:11 in black";
  EXPECT_EQ(BoundsOf(world.platform, clock_area, Reddish), Rect{});
  world.game.time_left.SetValue(10);
  world.Show(kWhite);
  EXPECT_EQ(BoundsOf(world.platform, clock_area, Dark), Rect{});
  const Rect red = BoundsOf(world.platform, clock_area, Reddish);
  EXPECT_NE(red, Rect{}) << "0:10 in red";
  EXPECT_LT(red.left, 4) << "at the top-left corner";
  EXPECT_LT(red.top, 10);
}

TEST(GameHud, ScoreEndsNearTheRightEdge) {
  EXPECT_EQ(ScoreTextX("0"), 725);
  EXPECT_EQ(ScoreTextX("-10000"), 650);

  HudWorld world;
  world.game.time_left.SetValue(90);
  const Rect top_right{400, 0, 640, 35};
  for (const auto& [score, screen_x] : {std::pair{0, 625}, std::pair{-10000, 550}}) {
    SCOPED_TRACE(score);
    world.game.score.SetValue(score);
    world.Show(kWhite);
    const Rect text = BoundsOf(world.platform, top_right, Dark);
    ASSERT_NE(text, Rect{});
    EXPECT_GE(text.left, screen_x);
    EXPECT_LE(text.left, screen_x + 4);
    EXPECT_LE(text.right, 640);
  }
}

// The busy game of the golden pictures shows a full rifle; an empty one
// shows no icon at all.
TEST(GameHud, NoCartridgeIconWhenTheRifleIsEmpty) {
  HudWorld world;
  world.game.cartridges.SetValue(0);
  world.Show(kWhite);
  EXPECT_EQ(BoundsOf(world.platform, Rect{440, 415, 640, 480}, NotWhite), Rect{});
}

}  // namespace
}  // namespace mw
