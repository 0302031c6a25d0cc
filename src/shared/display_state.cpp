#include "shared/display_state.h"

namespace mw {

void LoadMenuImages(Platform& platform, DisplayState& display) {
  display.MenuBackground = platform.ImageSurface("1.pdk", 640, 480);
  display.SettingsBackground = platform.ImageSurface("2.pdk", 640, 480);
  display.HighScoreBackground = platform.ImageSurface("3.pdk", 640, 480);
  display.CursorImage = platform.ImageSurface("4.pdk", 32, 32);
  display.CursorImage.SetTransparentColor(0);
  display.BackBuffer.SetTextFont(Font{"Arial", 20, true});
}

void MakeMenuBackBuffer(Platform& platform, DisplayState& display) {
  display.BackBuffer = Surface();
  display.BackBuffer = platform.MakeSurface(kShellBackBufferWidth, kShellBackBufferHeight);
  LoadMenuImages(platform, display);
}

}  // namespace mw
