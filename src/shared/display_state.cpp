#include "shared/display_state.h"

namespace mw {

void LoadMenuImages(Platform& platform, DisplayState& display) {
  display.menu_background = platform.ImageSurface("1.pdk", 640, 480);
  display.settings_background = platform.ImageSurface("2.pdk", 640, 480);
  display.high_score_background = platform.ImageSurface("3.pdk", 640, 480);
  display.cursor_image = platform.ImageSurface("4.pdk", 32, 32);
  display.cursor_image.SetTransparentColor(0);
  display.back_buffer.SetTextFont(Font{"Arial", 20, true});
}

void MakeMenuBackBuffer(Platform& platform, DisplayState& display) {
  display.back_buffer = Surface();
  display.back_buffer = platform.MakeSurface(kShellBackBufferWidth, kShellBackBufferHeight);
  LoadMenuImages(platform, display);
}

}  // namespace mw
