// Where F12 puts its pictures and what it calls them.

#include <gtest/gtest.h>

#include <ctime>

#include "platform/pictures_folder.h"
#include "platform/screenshot_file.h"

namespace mw {
namespace {

TEST(ScreenshotNames, DateAndTimeAreZeroPaddedAndLaterTriesAreNumbered) {
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 0;
  t.tm_mday = 5;
  t.tm_hour = 7;
  t.tm_min = 3;
  t.tm_sec = 9;
  EXPECT_EQ(ScreenshotName(t, 1), "moewenschuss-20260105-070309.png");
  EXPECT_EQ(ScreenshotName(t, 2), "moewenschuss-20260105-070309-2.png");
  EXPECT_EQ(ScreenshotName(t, 42), "moewenschuss-20260105-070309-42.png");
}

TEST(ScreenshotNames, PicturesFolderFromUserDirs) {
  const std::string home = "/home/ute";
  // The file as xdg-user-dirs writes it, German folders, comments and all.
  const std::string written =
      "# This file is written by xdg-user-dirs-update\n"
      "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
      "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n"
      "XDG_VIDEOS_DIR=\"$HOME/Videos\"\n";
  EXPECT_EQ(PicturesDirInUserDirs(written, home), "/home/ute/Bilder");
  EXPECT_EQ(PicturesDirInUserDirs("XDG_PICTURES_DIR=\"/data/Fotos/\"\r\n", home), "/data/Fotos");
  EXPECT_EQ(PicturesDirInUserDirs("  XDG_PICTURES_DIR=\"$HOME/Meine \\\"Bilder\\\"\"", home),
            "/home/ute/Meine \"Bilder\"");
  // Set to the home folder itself: the pictures go there.
  EXPECT_EQ(PicturesDirInUserDirs("XDG_PICTURES_DIR=\"$HOME/\"", home), "/home/ute");
  // The last line that sets it counts, as when a shell reads the file.
  EXPECT_EQ(PicturesDirInUserDirs("XDG_PICTURES_DIR=\"/a\"\nXDG_PICTURES_DIR=\"/b\"\n", home),
            "/b");
}

TEST(ScreenshotNames, UserDirsThatSetNothingUsableGiveNothing) {
  const std::string home = "/home/ute";
  for (const char* text : {"", "# XDG_PICTURES_DIR=\"$HOME/Bilder\"\n",
                           "XDG_PICTURES_DIR=$HOME/Bilder\n",    // not quoted
                           "XDG_PICTURES_DIR=\"$HOME/Bilder\n",  // quote not closed
                           "XDG_PICTURES_DIR=\"Bilder\"\n",      // relative
                           "XDG_PICTURES_DIRX=\"/x\"\n", "\x01\xff\"\n\n\n"}) {
    EXPECT_EQ(PicturesDirInUserDirs(text, home), "") << text;
  }
  EXPECT_EQ(PicturesDirInUserDirs("XDG_PICTURES_DIR=\"$HOME/Bilder\"", ""), "");
}

}  // namespace
}  // namespace mw
