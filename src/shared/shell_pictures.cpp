#include "shared/shell_pictures.h"

namespace mw {

void ReloadShellImages(Platform& platform, ShellPictures& pictures) {
  pictures.menu_background = platform.ImageSurface("1.pdk", 640, 480);
  pictures.settings_background = platform.ImageSurface("2.pdk", 640, 480);
  pictures.high_score_background = platform.ImageSurface("3.pdk", 640, 480);
  pictures.cursor_image = platform.ImageSurface("4.pdk", 32, 32);
  pictures.cursor_image.SetTransparentColor(0);
}

void MakeShellPictures(Platform& platform, ShellPictures& pictures) {
  pictures.back_buffer = Surface();
  pictures.back_buffer = platform.MakeSurface(kShellBackBufferWidth, kShellBackBufferHeight);
  ReloadShellImages(platform, pictures);
}

}  // namespace mw
