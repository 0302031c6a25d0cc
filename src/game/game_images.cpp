#include "game/phases.h"

namespace mw {

void MakeGameBackBuffer(Platform& platform, GameState& game) {
  game.back_buffer = Surface();
  game.back_buffer = platform.MakeSurface(kGameBackBufferWidth, kGameBackBufferHeight);
  LoadGameImages(platform, game);
}

void LoadGameImages(Platform& platform, GameState& game) {
  const PixelFormat format = platform.DisplayFormat();
  game.panorama_image = platform.ImageSurface("5.pdk", 1920, 480);
  // GullPictures hold "6.pdk" to "11.pdk"; GullImage() maps frames onto them.
  static constexpr const char* kGullAssets[] = {"6.pdk", "7.pdk",  "8.pdk",
                                                "9.pdk", "10.pdk", "11.pdk"};
  for (std::size_t i = 0; i < game.gull_pictures.size(); ++i) {
    game.gull_pictures[i] = platform.ImageSurface(kGullAssets[i], 100, 50);
  }
  game.cartridge_image = platform.ImageSurface("12.pdk", 40, 60);
  game.splat_image = platform.ImageSurface("13.pdk", 50, 50);  // the picture is 100x100
  game.ship_image = platform.ImageSurface("14.pdk", 200, 100);
  for (Surface& gull : game.gull_pictures) gull.SetTransparentColor(format.blue_mask);
  game.cartridge_image.SetTransparentColor(format.blue_mask);
  game.splat_image.SetTransparentColor(format.blue_mask);
  game.ship_image.SetTransparentColor(format.red_mask);
  game.crosshair = platform.ImageSurface("4.pdk", 32, 32);
  game.crosshair.SetTransparentColor(0);
}

}  // namespace mw
