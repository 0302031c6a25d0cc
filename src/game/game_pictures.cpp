#include "game/game_pictures.h"

#include "errors/runtime_error.h"
#include "game/screen_geometry.h"

namespace mw {
void LoadGamePictures(Platform& platform, GamePictures& pictures) {
  pictures.back_buffer = Surface();
  pictures.back_buffer = platform.MakeSurface(kGameBackBufferWidth, kGameBackBufferHeight);
  ReloadGameImages(platform, pictures);
  SplatLayer& layer = pictures.splat_layer;
  layer.key = platform.DisplayFormat().blue_mask;
  layer.strips.clear();
  for (int k = 0; k < SplatLayer::kStripCount; ++k) {
    Surface strip = platform.MakeSurface(SplatLayer::kStripWidth, kPictureHeight);
    strip.FillRect(Rect{}, layer.key);
    strip.SetTransparentColor(layer.key, Surface::KeyedCopy::kEveryPixel);
    layer.strips.push_back(std::move(strip));
  }
  layer.painted = {};
  layer.drawn.clear();
}

void ReloadGameImages(Platform& platform, GamePictures& pictures) {
  const PixelFormat format = platform.DisplayFormat();
  pictures.scaled.copies.clear();
  pictures.panorama = platform.ImageSurface("5.pdk", 1920, 480);
  static constexpr const char* kGullAssets[] = {"6.pdk", "7.pdk",  "8.pdk",
                                                "9.pdk", "10.pdk", "11.pdk"};
  for (std::size_t i = 0; i < pictures.gull_pictures.size(); ++i) {
    pictures.gull_pictures[i] = platform.ImageSurface(kGullAssets[i], 100, 50);
  }
  pictures.cartridge = platform.ImageSurface("12.pdk", 40, 60);
  pictures.splat = platform.ImageSurface("13.pdk", 50, 50);  // the picture is 100x100
  pictures.ship = platform.ImageSurface("14.pdk", 200, 100);
  for (Surface& gull : pictures.gull_pictures) gull.SetTransparentColor(format.blue_mask);
  pictures.cartridge.SetTransparentColor(format.blue_mask);
  pictures.splat.SetTransparentColor(format.blue_mask);
  pictures.ship.SetTransparentColor(format.red_mask);
  pictures.crosshair = platform.ImageSurface("4.pdk", 32, 32);
  pictures.crosshair.SetTransparentColor(0);
}

const Surface& GullImage(const GamePictures& pictures, int frame) {
  // Frames 1..8 are one wing beat over five pictures: 7 8 9 8 7 10 11 10.
  static constexpr std::array<int, 9> kPicture{0, 1, 2, 3, 2, 1, 4, 5, 4};
  if (frame < 0 || frame > 8) throw IndexOutOfRange();
  return pictures
      .gull_pictures[static_cast<std::size_t>(kPicture[static_cast<std::size_t>(frame)])];
}

}  // namespace mw
