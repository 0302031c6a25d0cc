// The clock of the HUD in its last ten seconds, which no golden run reaches;
// the rest of the HUD is in the golden runs' pictures.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "game/hud.h"
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

}  // namespace
}  // namespace mw
