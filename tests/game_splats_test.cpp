// The splats on the windscreen: drawn through their cached layer, they must
// look exactly as if each were drawn on its own, whatever happened to them.

#include <gtest/gtest.h>

#include "game/draw_game.h"
#include "game/screen_geometry.h"
#include "test_world.h"

namespace mw::test {
namespace {

// A game's state and its pictures, in a display layout.
struct World {
  explicit World(PixelFormat format) : platform(Script{}, Options(true, format)) {
    LoadGamePictures(platform, pictures);
  }
  HeadlessPlatform platform;
  RunGameState game;
  GamePictures pictures;
};

// Fills the BackBuffer with a plain colour and draws the splats.
void DrawOnPlain(World& world) {
  Surface& back = world.pictures.back_buffer;
  back.FillRect(Rect{}, back.MapColour(Rgb(40, 90, 160)));
  DrawSplats(world.game, world.pictures);
}

// The same, one BlitImage per splat.
void DrawOneByOne(World& world, Surface& into) {
  into.FillRect(Rect{}, into.MapColour(Rgb(40, 90, 160)));
  const RunGameState& game = world.game;
  for (int i = 1; i <= game.splat_count; ++i) {
    const SplatPos& s = game.splats[static_cast<std::size_t>(i)];
    into.BlitImage(s.x - game.view_x.Value() + 100, s.y + 50, world.pictures.splat, Rect{}, true);
  }
}

// Counts the pixels of the visible window that differ.
int VisibleDifferences(const Surface& a, const Surface& b) {
  int differences = 0;
  for (int y = 50; y < 530; ++y) {
    for (int x = 100; x < 740; ++x) differences += a.PixelAt(x, y) != b.PixelAt(x, y) ? 1 : 0;
  }
  return differences;
}

class GameSplats : public ::testing::TestWithParam<PixelFormat> {};

TEST_P(GameSplats, LookAsIfDrawnOneByOneThroughGrowthWipesAndScrolling) {
  World world(GetParam());
  RunGameState& game = world.game;
  Surface expected = world.platform.MakeSurface(kGameBackBufferWidth, kGameBackBufferHeight);
  GameRandom random;
  auto add_splats = [&](int n) {
    for (int i = 0; i < n; ++i) {
      ++game.splat_count;
      // Columns from beyond the left edge of the panorama to beyond its right.
      game.splats[static_cast<std::size_t>(game.splat_count)] =
          SplatPos{static_cast<std::int32_t>(random.Next() * 2100.0f) - 100,
                   static_cast<std::int32_t>(random.Next() * 380.0f)};
    }
  };
  auto check = [&](const char* when) {
    for (std::int32_t view_x : {0, 37, 640, 1275, 1280}) {
      game.view_x.SetValue(view_x);
      DrawOnPlain(world);
      DrawOneByOne(world, expected);
      EXPECT_EQ(VisibleDifferences(world.pictures.back_buffer, expected), 0)
          << when << ", view " << view_x;
    }
  };

  check("no splats");
  add_splats(1);
  check("the first splat");
  add_splats(120);
  check("many splats");
  add_splats(1);
  check("one more");
  game.splat_count = 0;  // the wiper
  check("wiped");
  add_splats(3);
  check("after the wipe");
  // The forced wipe empties the table and writes the next splat into entry 0;
  // fresh splats then overwrite the old entries one by one.
  game.splat_count = kMaxSplats;
  check("a full table");
  game.splat_count = 0;
  game.splats[0] = SplatPos{700, 100};
  check("entry 0 is never drawn");
  game.splat_count = 2;
  game.splats[1] = SplatPos{800, 10};
  check("old entries overwritten");
  // A count beyond the table draws the table, never reads past its end.
  game.splat_count = 100000;
  DrawSplats(world.game, world.pictures);
  game.splat_count = kMaxSplats;
  DrawOneByOne(world, expected);
  DrawOnPlain(world);
  EXPECT_EQ(VisibleDifferences(world.pictures.back_buffer, expected), 0);

  // A splat opaque to its edges: the layer copies every row one covers and
  // clears them all at a wipe, whatever the picture's own clear border.
  Surface block = world.platform.MakeSurface(50, 50);
  block.FillRect(Rect{}, block.MapColour(Rgb(250, 250, 0)));
  block.SetTransparentColor(GetParam().blue_mask);
  world.pictures.splat = std::move(block);
  game.splat_count = 0;
  check("wiped before the block");
  game.splat_count = 1;
  game.splats[1] = SplatPos{700, 100};
  check("a block");
  game.splat_count = 0;
  check("the block wiped");
  game.splat_count = 2;
  game.splats[1] = SplatPos{700, 40};  // above and below the wiped block's rows
  game.splats[2] = SplatPos{700, 200};
  check("two blocks in its place");
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, GameSplats, ::testing::Values(kRgb565, kRgb555));

}  // namespace
}  // namespace mw::test
