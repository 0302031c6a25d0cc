// Where F12 puts its pictures, what it calls them, and that it never writes
// over an older one.

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "platform/headless/headless_platform.h"
#include "platform/os/local_time.h"
#include "platform/os/pictures_folder.h"
#include "platform/sdl/screenshot_file.h"
#include "xdg/user_dirs.h"

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

#ifndef _WIN32
// The file itself is read from the configuration folder, whole.
TEST(ScreenshotNames, PicturesFolderReadFromTheUsersConfiguration) {
  const std::filesystem::path root =
      std::filesystem::temp_directory_path() / ("mw_user_dirs_" + std::to_string(::getpid()));
  std::filesystem::create_directories(root / "Bilder");
  std::ofstream(root / "user-dirs.dirs")
      << "XDG_PICTURES_DIR=\"" << (root / "Bilder").string() << "\"\n";
  ::unsetenv("XDG_PICTURES_DIR");
  ::setenv("XDG_CONFIG_HOME", root.c_str(), 1);
  EXPECT_EQ(PicturesFolder(), (root / "Bilder").string());
  ::unsetenv("XDG_CONFIG_HOME");
  std::filesystem::remove_all(root);
}
#endif

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

// F12 held down, or pressed again within a second: every picture gets a file
// of its own and the older ones stay as they are.
TEST(ScreenshotFiles, OlderPicturesAreNeverWrittenOver) {
  namespace fs = std::filesystem;
  const fs::path dir =
      fs::path(::testing::TempDir()) / ("mw_shots_" + std::to_string(std::time(nullptr)));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const auto text_of = [](const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  // The names of this second and the next are taken already.
  const std::time_t now = std::time(nullptr);
  for (const std::time_t moment : {now, now + 1}) {
    std::ofstream(dir / ScreenshotName(LocalTimeOf(moment), 1), std::ios::binary) << "alt";
  }
  const std::unique_ptr<HeadlessPlatform> platform = MakeHeadlessPlatform(Script{}, {});
  Surface picture = platform->MakeSurface(8, 6);
  picture.FillRect({0, 0, 8, 6}, 0x1234);

  const ScreenshotResult first = SaveScreenshot(picture, dir.string());
  const ScreenshotResult second = SaveScreenshot(picture, dir.string());
  ASSERT_EQ(first.reason, "");
  ASSERT_EQ(second.reason, "");
  EXPECT_NE(first.path, second.path);
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string text = text_of(entry.path());
    const bool saved_now =
        entry.path() == fs::path(first.path) || entry.path() == fs::path(second.path);
    EXPECT_EQ(text.substr(0, 4), saved_now ? "\x89PNG" : "alt") << entry.path();
  }

  // A second with 99 pictures already takes no more.
  for (const std::time_t moment : {now, now + 1}) {
    for (int attempt = 1; attempt <= 99; ++attempt) {
      std::ofstream(dir / ScreenshotName(LocalTimeOf(moment), attempt), std::ios::binary) << "alt";
    }
  }
  const ScreenshotResult full = SaveScreenshot(picture, dir.string());
  EXPECT_EQ(full.reason, "zu viele Bilder in derselben Sekunde");
  EXPECT_EQ(full.path, "");

  const ScreenshotResult nowhere = SaveScreenshot(picture, (dir / "fehlt").string());
  EXPECT_EQ(nowhere.reason, "Der Ordner existiert nicht");
  EXPECT_FALSE(fs::exists(dir / "fehlt"));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace mw
