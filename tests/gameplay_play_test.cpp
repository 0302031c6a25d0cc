// A whole game played by a hand that aims at the gulls: it shoots the nearest
// gull in view, reloads when empty, sinks one ship and wipes the windscreen
// once. With MW_GAMEPLAY_SHOTS=DIR it also writes PNGs of the moments worth
// looking at.

#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/sdl_surfaces.h"
#include "soak/aiming.h"
#include "test_world.h"

namespace mw::test {
namespace {

// The hand of the aimed games: presses one button at a time, aimed, and lets
// it go in the next play.
struct Hand {
  HeadlessPlatform& platform;
  Point aim{320, 240};
  int down = -1;

  bool Busy() const { return down >= 0; }
  void Press(int button, Point at) {
    aim = at;
    platform.MoveMouse(at);
    platform.PressKey(button);
    down = button;
  }
  void Release() {
    if (down >= 0) platform.ReleaseKey(down);
    down = -1;
  }
};

std::optional<Point> NearestGull(const GameState& game) {
  return NearestGullInView(game, 1);
}
std::optional<Point> Ship(const GameState& game) {
  return ShipInView(game);
}

bool SplatInView(const GameState& game) {
  for (std::int32_t i = 1; i <= game.splat_count; ++i) {
    const std::int32_t x = game.splats[static_cast<std::size_t>(i)].x - game.view_x.Value();
    if (x >= 0 && x < 600) return true;
  }
  return false;
}

TEST(GameplayPlay, AnAimedGameHitsGullsSinksAShipAndWipes) {
  World w("1000000 mouse 0 0\n");
  const char* shots_dir = std::getenv("MW_GAMEPLAY_SHOTS");
  auto shot = [&](const std::string& name) {
    if (shots_dir == nullptr) return;
    SDL_Surface* rgb =
        SDL_ConvertSurfaceFormat(SdlSurfaceOf(w.platform.Frame()), SDL_PIXELFORMAT_RGB24, 0);
    ASSERT_NE(rgb, nullptr);
    EXPECT_EQ(IMG_SavePNG(rgb, (std::string(shots_dir) + "/" + name + ".png").c_str()), 0);
    SDL_FreeSurface(rgb);
  };

  w.SetUpGame();
  Hand hand{w.platform};
  int gull_hits = 0;
  int ship_hits = 0;
  int wipes = 0;
  int first_hit_frame = -1;
  int sink_frame = -1;
  bool splat_seen = false;
  bool ended = false;
  for (int frame = 0; frame < 60 * 40 && !ended; ++frame) {
    const bool was_down = hand.Busy();
    hand.Release();
    if (!was_down) {
      if (w.game.splat_count >= 3 && wipes == 0 && frame > 600) {
        hand.Press(vk::kLeftButton, {250, 465});
      } else if (w.game.cartridges.Value() == 0) {
        hand.Press(vk::kRightButton, hand.aim);
      } else if (const auto ship = Ship(w.game); ship && ship_hits == 0 && gull_hits >= 5) {
        hand.Press(vk::kLeftButton, *ship);
      } else if (const auto gull = NearestGull(w.game)) {
        hand.Press(vk::kLeftButton, *gull);
      }
    }
    const std::int32_t hits_before = w.game.ship_hits;
    const std::int32_t splats_before = w.game.splat_count;
    std::int32_t falling_before = 0;
    for (const Gull& g : w.game.gulls) falling_before += g.frame == 0 && g.distance > 0;
    ended = !w.PlayFrame();

    std::int32_t falling = 0;
    for (const Gull& g : w.game.gulls) falling += g.frame == 0 && g.distance > 0;
    if (w.play.shot_fired && falling > falling_before) {
      gull_hits += falling - falling_before;
      if (first_hit_frame < 0) {
        first_hit_frame = frame;
        shot("1-hit");
      }
    }
    if (first_hit_frame >= 0 && frame == first_hit_frame + 12) shot("2-falling");
    if (!splat_seen && SplatInView(w.game) && frame > 60) {
      splat_seen = true;
      shot("3-splats");
    }
    if (w.game.splat_count == 0 && splats_before >= 3 && hand.aim == Point{250, 465}) {
      ++wipes;
      shot("4-wiper-flash");
    }
    if (w.game.ship_hits != hits_before) {
      ++ship_hits;
      sink_frame = frame;
    }
    if (sink_frame >= 0 && frame == sink_frame + 8) shot("5-ship-sinking");
  }
  EXPECT_FALSE(ended);
  EXPECT_GE(gull_hits, 10);
  EXPECT_GT(w.game.score.Value(), 0);
  EXPECT_EQ(ship_hits, 1);
  EXPECT_EQ(wipes, 1);
  EXPECT_TRUE(splat_seen);
  EXPECT_EQ(CountEvents(w.platform.Events(), "\"sound\",\"number\":7"), 1);
}

}  // namespace
}  // namespace mw::test
