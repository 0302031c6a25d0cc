#include <SDL.h>
// The surface's drawing to the pixel in both 16-bit layouts, where the golden
// pictures (one layout, the pictures the game happens to draw) do not reach:
// keying, clipping at every edge, scaling, released surfaces, missing images.

#include <gtest/gtest.h>

#include <bit>

#include "embedded/embedded_files.h"
#include "errors/runtime_error.h"
#include "platform/headless/headless_platform.h"
#include "platform/sdl/sdl_surfaces.h"

namespace mw {
namespace {

// Every drawing test runs in both 16-bit layouts.
class SurfaceTest : public ::testing::TestWithParam<PixelFormat> {
 protected:
  SurfaceTest() {
    HeadlessOptions options;
    options.format = GetParam();
    platform_ = MakeHeadlessPlatform(Script{}, options);
  }

  // A w x h surface whose pixels are all different and non-zero.
  Surface NumberedSurface(int w, int h) {
    Surface s = platform_->MakeSurface(w, h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) s.FillRect({x, y, x + 1, y + 1}, Numbered(x, y));
    }
    return s;
  }
  static std::uint32_t Numbered(int x, int y) {
    return static_cast<std::uint32_t>(1 + x + 256 * y);
  }

  std::unique_ptr<HeadlessPlatform> platform_;
};

INSTANTIATE_TEST_SUITE_P(BothLayouts, SurfaceTest, ::testing::Values(kRgb565, kRgb555),
                         [](const auto& param_info) {
                           return param_info.param == kRgb565 ? "Rgb565" : "Rgb555";
                         });

TEST_P(SurfaceTest, PureBlueIsKeyedAwayButNearBlueIsNot) {
  // A 24-bit picture as an asset would bring it.
  SDL_Surface* rgb = SDL_CreateRGBSurfaceWithFormat(0, 3, 1, 24, SDL_PIXELFORMAT_RGB24);
  ASSERT_NE(rgb, nullptr);
  auto* px = static_cast<Uint8*>(rgb->pixels);
  const Uint8 pixels[9] = {0, 0, 255, 0, 0, 240, 255, 0, 0};
  std::copy(pixels, pixels + 9, px);
  Surface sprite(AdoptSurface(rgb, GetParam()), nullptr, nullptr);
  ASSERT_EQ(sprite.Format(), GetParam());
  EXPECT_EQ(sprite.PixelAt(0, 0), GetParam().blue_mask);
  EXPECT_EQ(sprite.PixelAt(2, 0), GetParam().red_mask);
  sprite.SetTransparentColor(GetParam().blue_mask);

  Surface target = platform_->MakeSurface(4, 2);
  const std::uint32_t white = target.MapColour(Rgb(255, 255, 255));
  target.FillRect({}, white);
  target.BlitImage(1, 1, sprite, {}, true);
  EXPECT_EQ(target.PixelAt(1, 1), white);
  EXPECT_EQ(target.PixelAt(2, 1), sprite.PixelAt(1, 0));
  EXPECT_EQ(target.PixelAt(3, 1), GetParam().red_mask);
  EXPECT_EQ(target.PixelAt(1, 0), white);

  target.BlitScaled({0, 0, 4, 1}, sprite, {0, 0, 2, 1});  // each pixel twice
  EXPECT_EQ(target.PixelAt(0, 0), white);
  EXPECT_EQ(target.PixelAt(1, 0), white);
  EXPECT_EQ(target.PixelAt(2, 0), sprite.PixelAt(1, 0));

  target.BlitImage(0, 1, sprite, {}, false);  // unkeyed copies the blue too
  EXPECT_EQ(target.PixelAt(0, 1), GetParam().blue_mask);
}

TEST_P(SurfaceTest, BlitImageIsClippedAtEveryEdge) {
  const Surface sprite = NumberedSurface(5, 4);
  for (int x : {-6, -5, -4, -1, 0, 3, 6, 7, 8}) {
    for (int y : {-5, -4, -2, 0, 2, 5, 6}) {
      for (const Rect source : {Rect{}, Rect{1, 1, 4, 3}, Rect{-2, -1, 9, 9}}) {
        Surface target = platform_->MakeSurface(8, 6);
        target.BlitImage(x, y, sprite, source, false);
        const Rect s = source.IsWhole() ? Rect{0, 0, 5, 4} : source;
        for (int ty = 0; ty < 6; ++ty) {
          for (int tx = 0; tx < 8; ++tx) {
            const int sx = tx - x + s.left;
            const int sy = ty - y + s.top;
            const bool inside = sx >= std::max(0, s.left) && sx < std::min(5, s.right) &&
                                sy >= std::max(0, s.top) && sy < std::min(4, s.bottom);
            ASSERT_EQ(target.PixelAt(tx, ty), inside ? Numbered(sx, sy) : 0u)
                << "blit at " << x << "," << y << " pixel " << tx << "," << ty;
          }
        }
      }
    }
  }
  // Onto itself, overlapping: every pixel comes from before the copy.
  Surface self = NumberedSurface(5, 4);
  self.BlitImage(1, 1, self, Rect{0, 0, 4, 3}, false);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 5; ++x) {
      const bool copied = x >= 1 && y >= 1;
      ASSERT_EQ(self.PixelAt(x, y), copied ? Numbered(x - 1, y - 1) : Numbered(x, y)) << x << y;
    }
  }
  // Stretched onto itself: every pixel comes from before the stretch too.
  Surface grown = NumberedSurface(4, 4);
  grown.BlitScaled({0, 0, 4, 4}, grown, {0, 0, 2, 2});
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) ASSERT_EQ(grown.PixelAt(x, y), Numbered(x / 2, y / 2)) << x << y;
  }
  Surface target = platform_->MakeSurface(8, 6);
  target.BlitImage(INT32_MAX, INT32_MIN, sprite, {}, true);  // far off: nothing, no overflow
  target.BlitImage(0, 0, sprite, {3, 3, 1, 1}, false);       // empty source: nothing
  EXPECT_EQ(target.PixelAt(0, 0), 0u);
}

TEST_P(SurfaceTest, FillRectIsClippedAndZeroMeansWhole) {
  Surface s = platform_->MakeSurface(6, 4);
  s.FillRect({}, 7);
  EXPECT_EQ(s.PixelAt(5, 3), 7u);
  s.FillRect({-3, -3, 2, 1}, 9);
  s.FillRect({4, 2, 100, 100}, 11);
  s.FillRect({3, 3, 1, 1}, 13);                          // inverted: nothing
  s.FillRect({INT32_MIN, INT32_MIN, INT32_MAX, 0}, 13);  // empty height: nothing
  EXPECT_EQ(s.PixelAt(0, 0), 9u);
  EXPECT_EQ(s.PixelAt(1, 0), 9u);
  EXPECT_EQ(s.PixelAt(2, 0), 7u);
  EXPECT_EQ(s.PixelAt(0, 1), 7u);
  EXPECT_EQ(s.PixelAt(4, 2), 11u);
  EXPECT_EQ(s.PixelAt(5, 3), 11u);
  EXPECT_EQ(s.PixelAt(3, 3), 7u);
}

// A picture smaller than the screen shows on black, not on the picture before.
TEST_P(SurfaceTest, APictureSmallerThanTheScreenStandsOnBlack) {
  platform_->OpenDisplay();
  const Surface whole = NumberedSurface(640, 480);
  platform_->Present(whole, {});
  const Surface small = NumberedSurface(100, 50);
  platform_->Present(small, {0, 0, 100, 50});
  const Surface shown = platform_->PictureOnScreen();
  EXPECT_EQ(shown.PixelAt(99, 49), Numbered(99, 49));
  EXPECT_EQ(shown.PixelAt(100, 0), 0u);
  EXPECT_EQ(shown.PixelAt(639, 479), 0u);
}

TEST_P(SurfaceTest, BlitScaledFillsExactlyItsTargetAndKeepsScaleWhenClipped) {
  for (const Rect size : {Rect{0, 0, 8, 4}, Rect{0, 0, 133, 67}, Rect{0, 0, 200, 100}}) {
    const Surface gull = NumberedSurface(100, 50);
    Surface whole = platform_->MakeSurface(size.right + 2, size.bottom + 2);
    whole.BlitScaled({1, 1, size.right + 1, size.bottom + 1}, gull, {});
    for (int y = 0; y < whole.Height(); ++y) {
      for (int x = 0; x < whole.Width(); ++x) {
        const bool inside = x >= 1 && y >= 1 && x <= size.right && y <= size.bottom;
        ASSERT_EQ(whole.PixelAt(x, y) != 0, inside) << x << "," << y;
      }
    }
    if (size.right >= 100) {  // enlarged, the corners are the picture's corners
      EXPECT_EQ(whole.PixelAt(1, 1), Numbered(0, 0));
      EXPECT_EQ(whole.PixelAt(size.right, size.bottom), Numbered(99, 49));
    }

    // Hanging off every side, the visible part is the same pixels.
    for (const Point shift : {Point{-37, -11}, Point{40, 30}, Point{-5, 20}}) {
      Surface clipped = platform_->MakeSurface(size.right + 2, size.bottom + 2);
      clipped.BlitScaled(
          {1 + shift.x, 1 + shift.y, size.right + 1 + shift.x, size.bottom + 1 + shift.y}, gull,
          {});
      for (int y = 0; y < clipped.Height(); ++y) {
        for (int x = 0; x < clipped.Width(); ++x) {
          const int wx = x - shift.x;
          const int wy = y - shift.y;
          const std::uint32_t expected =
              wx >= 0 && wy >= 0 && wx < whole.Width() && wy < whole.Height()
                  ? whole.PixelAt(wx, wy)
                  : 0u;
          ASSERT_EQ(clipped.PixelAt(x, y), expected) << x << "," << y;
        }
      }
    }
  }
}

TEST_P(SurfaceTest, BlitScaledHalvesAndDoublesCleanlyAndSkipsEmptyTargets) {
  const Surface picture = NumberedSurface(4, 2);
  Surface big = platform_->MakeSurface(8, 4);
  big.BlitScaled({0, 0, 8, 4}, picture, {});
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 8; ++x) EXPECT_EQ(big.PixelAt(x, y), Numbered(x / 2, y / 2));
  }
  Surface small = platform_->MakeSurface(2, 1);
  small.BlitScaled({0, 0, 2, 1}, big, {});
  // Each target pixel samples the centre of its share of the source.
  for (int x = 0; x < 2; ++x) EXPECT_EQ(small.PixelAt(x, 0), big.PixelAt(4 * x + 2, 2)) << x;
  Surface untouched = platform_->MakeSurface(4, 4);
  untouched.BlitScaled({2, 2, 2, 4}, picture, {});
  untouched.BlitScaled({3, 3, 1, 1}, picture, {});
  untouched.BlitScaled({0, 0, 4, 4}, picture, {2, 0, 2, 2});
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(untouched.PixelAt(x, y), 0u);
  }
}

TEST_P(SurfaceTest, ReleasedSurfacesAreAClearErrorAndMovesReleaseTheOld) {
  Surface s = platform_->MakeSurface(4, 4);
  s = platform_->MakeSurface(2, 3);  // the old one is freed (the leak check would see it)
  EXPECT_EQ(s.Width(), 2);
  Surface moved = std::move(s);
  EXPECT_FALSE(s);
  EXPECT_EQ(s.Width(), 0);
  EXPECT_THROW(s.FillRect({}, 1), RuntimeError);
  EXPECT_THROW(moved.BlitImage(0, 0, s, {}, false), RuntimeError);
  EXPECT_THROW(moved.BlitScaled({0, 0, 2, 2}, s, {}), RuntimeError);
  EXPECT_THROW(s.BlitScaled({0, 0, 2, 2}, moved, {}), RuntimeError);
  EXPECT_THROW(moved.PixelAt(2, 0), RuntimeError);
  EXPECT_THROW(platform_->MakeSurface(0, 10), RuntimeError);
}

// Where text lands is in every golden picture; here, text that cannot land.
TEST_P(SurfaceTest, TextOffTheSurfaceOrEmptyDrawsNothing) {
  Surface s = platform_->MakeSurface(300, 100);
  const TextStyle opaque{{"Arial", 20, true}, Rgb(0, 0, 0), true, Rgb(255, 0, 0)};
  s.DrawText(-10000, INT32_MAX, "off the surface", opaque);
  s.DrawText(INT32_MIN, -10000, "M\xF6we", opaque);
  s.DrawText(0, 0, "", opaque);
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 300; ++x) ASSERT_EQ(s.PixelAt(x, y), 0u) << x << "," << y;
  }
}

// The picture behind a message box: each colour at half its brightness, with
// no bit of one colour running into the next.
TEST_P(SurfaceTest, HalvingTheBrightnessHalvesEachColourOnItsOwn) {
  Surface s = platform_->MakeSurface(3, 1);
  const std::uint32_t colours[] = {s.MapColour(Rgb(255, 255, 255)), s.MapColour(Rgb(8, 64, 255)),
                                   s.MapColour(Rgb(255, 0, 0))};
  for (int x = 0; x < 3; ++x) s.FillRect({x, 0, x + 1, 1}, colours[x]);
  s.HalveBrightness();
  const PixelFormat f = GetParam();
  for (int x = 0; x < 3; ++x) {
    for (const std::uint32_t mask : {f.red_mask, f.green_mask, f.blue_mask}) {
      const int shift = std::countr_zero(mask);
      EXPECT_EQ((s.PixelAt(x, 0) & mask) >> shift, ((colours[x] & mask) >> shift) / 2)
          << "pixel " << x << ", mask " << mask;
    }
  }
}

TEST_P(SurfaceTest, ImagesAreFoundInAnyCaseAndMissingOnesAreClearErrors) {
  EXPECT_THROW(platform_->ImageSurface("99.pdk", 10, 10), RuntimeError);
  if (FindEmbeddedFile("7.pdk") == nullptr) GTEST_SKIP() << "assets not built in yet";
  const Surface gull = platform_->ImageSurface("7.PDK", 100, 50);
  EXPECT_EQ(gull.Width(), 100);
  EXPECT_EQ(gull.PixelAt(0, 0), GetParam().blue_mask);  // the pure-blue background stays exact
  const Surface splat = platform_->ImageSurface("13.pdk", 50, 50);
  EXPECT_EQ(splat.Height(), 50);
}

}  // namespace
}  // namespace mw
