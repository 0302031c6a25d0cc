#include "game/phases.h"

namespace mw {

void MakeGameBackBuffer(Platform& platform, GameState& game) {
  game.BackBuffer = Surface();
  game.BackBuffer = platform.MakeSurface(kGameBackBufferWidth, kGameBackBufferHeight);
  LoadGameImages(platform, game);
}

void LoadGameImages(Platform& platform, GameState& game) {
  const PixelFormat format = platform.DisplayFormat();
  game.PanoramaImage = platform.ImageSurface("5.pdk", 1920, 480);
  // GullPictures hold "6.pdk" to "11.pdk"; GullImage() maps frames onto them.
  static constexpr const char* kGullAssets[] = {"6.pdk", "7.pdk",  "8.pdk",
                                                "9.pdk", "10.pdk", "11.pdk"};
  for (std::size_t i = 0; i < game.GullPictures.size(); ++i) {
    game.GullPictures[i] = platform.ImageSurface(kGullAssets[i], 100, 50);
  }
  game.CartridgeImage = platform.ImageSurface("12.pdk", 40, 60);
  game.SplatImage = platform.ImageSurface("13.pdk", 50, 50);  // the picture is 100x100
  game.ShipImage = platform.ImageSurface("14.pdk", 200, 100);
  for (Surface& gull : game.GullPictures) gull.SetTransparentColor(format.blue_mask);
  game.CartridgeImage.SetTransparentColor(format.blue_mask);
  game.SplatImage.SetTransparentColor(format.blue_mask);
  game.ShipImage.SetTransparentColor(format.red_mask);
  game.Crosshair = platform.ImageSurface("4.pdk", 32, 32);
  game.Crosshair.SetTransparentColor(0);
}

}  // namespace mw
