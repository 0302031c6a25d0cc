// The size of a window on the desktop: the picture twice as large where the
// desktop has room for that with its panels and the window's frame (64
// pixels across, 96 down), else the picture's own size.

#include <gtest/gtest.h>

#include "platform/sdl/sdl_game_window.h"

namespace mw {
namespace {

TEST(WindowSize, DoubledWhereTheDesktopHasRoomForIt) {
  struct Case {
    int desktop_width;
    int desktop_height;
    int width;
    int height;
  };
  for (const Case c :
       {Case{1344, 1056, 1280, 960}, Case{1920, 1080, 1280, 960}, Case{1343, 1056, 640, 480},
        Case{1344, 1055, 640, 480}, Case{1024, 768, 640, 480}, Case{640, 480, 640, 480}}) {
    const SDL_Point size = WindowedSize(c.desktop_width, c.desktop_height);
    EXPECT_EQ(size.x, c.width) << c.desktop_width << "x" << c.desktop_height;
    EXPECT_EQ(size.y, c.height) << c.desktop_width << "x" << c.desktop_height;
  }
}

}  // namespace
}  // namespace mw
