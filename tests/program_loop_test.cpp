// The program's one loop, stepped pass by pass on the headless platform: the
// screens it goes through and how each pass ends, a message box as a screen
// of its own over the dimmed picture, the game's end on the sample after
// Escape, and a run-time error shown and ended with its status.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "hardening_sandbox.h"
#include "test_world.h"

namespace mw::test {
namespace {

namespace fs = std::filesystem;

// A colour as the 16-bit display shows it: each part within 8 of the asked.
bool ShownAs(Colour shown, Colour asked) {
  auto near = [](std::uint32_t a, std::uint32_t b) { return (a > b ? a - b : b - a) <= 8; };
  return near(RedOf(shown), RedOf(asked)) && near(GreenOf(shown), GreenOf(asked)) &&
         near(BlueOf(shown), BlueOf(asked));
}

HeadlessOptions BoxesInWindow(std::map<std::string, std::string> environment) {
  HeadlessOptions options = Options(true, kRgb565, std::move(environment));
  options.message_boxes_in_window = true;
  return options;
}

// Menu, game, a message box, the high-score screen and back, one pass at a
// time: what stands on top after each, and what each pass showed.
TEST(ProgramLoop, StepsThroughMenuGameMessageBoxAndHighScores) {
  const TempFolder folder("mw_loop_screens");
  // The table cannot be read: a folder stands in its place.
  fs::create_directory(folder.Path() / "highscores.pdk");
  Program p(
      "0 mouse 320 250\n100 down enter\n150 up enter\n600 press escape\n"
      "900 press enter\n1100 type Ute\n1300 press enter\n1600 press escape\n" +
          std::string(kLongRun),
      BoxesInWindow({{"OEDIR", folder.Path().string() + "/"}}));

  // The menu: every pass is shown.
  ASSERT_TRUE(p.InMenu());
  p.Run(3);
  EXPECT_EQ(p.platform.FramesShown(), 3);

  // Enter down: the menu waits for it to be let go, resting between samples,
  // then opens the game; the game's first pass sets it up without a picture.
  ASSERT_TRUE(p.RunUntil([&] { return p.On<ReleaseWait>() != nullptr; }));
  const std::int64_t before_wait = p.platform.FramesShown();
  ASSERT_TRUE(p.RunUntil([&] { return p.On<GameScreen>() != nullptr; }));
  EXPECT_EQ(p.platform.FramesShown(), before_wait);
  EXPECT_GE(p.platform.NowMs(), 150);
  EXPECT_TRUE(p.platform.InGameMode());
  p.Run(1);
  ASSERT_NE(p.On<GameScreen>(), nullptr);
  EXPECT_TRUE(p.On<GameScreen>()->SetUp());
  EXPECT_EQ(p.platform.FramesShown(), before_wait) << "the set-up shows nothing";
  EXPECT_EQ(CountEvents(p.Log(), "\"name\":\"game\""), 1);

  // Frames until Escape: then the table cannot be read, and its box stands
  // over the high-score screen, the game's last picture dimmed behind it.
  ASSERT_TRUE(p.RunUntil([&] { return p.On<MessageBoxScreen>() != nullptr; }));
  EXPECT_FALSE(p.platform.InGameMode());
  EXPECT_EQ(CountEvents(p.Log(), "\"reason\":\"escape\""), 1);
  const auto& box = p.On<MessageBoxScreen>()->Box();
  EXPECT_EQ(box.title, "Highscores");
  const Colour game_pixel = p.platform.FramePixel(5, 5);
  p.Run(1);
  ASSERT_NE(p.On<MessageBoxScreen>(), nullptr) << "shown until it is confirmed";
  const Rect at = p.On<MessageBoxScreen>()->Box().layout.box;
  EXPECT_TRUE(ShownAs(p.platform.FramePixel(at.left + 5, at.top + 5), Rgb(38, 56, 104)))
      << "the title bar";
  EXPECT_TRUE(ShownAs(p.platform.FramePixel(at.left - 1, at.top - 1), Rgb(16, 20, 36)))
      << "a frame of one pixel round it";
  EXPECT_FALSE(ShownAs(p.platform.FramePixel(at.left - 2, at.top + 40), Rgb(16, 20, 36)));
  const Rect ok = p.On<MessageBoxScreen>()->Box().layout.button;
  EXPECT_TRUE(ShownAs(p.platform.FramePixel(ok.left - 2, ok.top - 2), Rgb(38, 56, 104)))
      << "the button's edge of two pixels";
  EXPECT_TRUE(ShownAs(p.platform.FramePixel(ok.left, ok.top), Rgb(222, 222, 226)));
  const Surface& behind = p.On<MessageBoxScreen>()->Box().behind;
  for (const Point corner : {Point{0, 0}, Point{639, 479}}) {
    EXPECT_EQ(p.platform.Frame().PixelAt(corner.x, corner.y), behind.PixelAt(corner.x, corner.y))
        << "the picture behind stands where it stood";
  }
  const Colour dimmed = p.platform.FramePixel(5, 5);
  EXPECT_LT(RedOf(dimmed) + GreenOf(dimmed) + BlueOf(dimmed),
            RedOf(game_pixel) + GreenOf(game_pixel) + BlueOf(game_pixel))
      << "the picture behind is dimmed";

  // Enter confirms it; the high-score screen then takes the name and Enter,
  // waits for Enter to be let go, and the menu shows once as it was left.
  ASSERT_TRUE(p.RunUntil([&] { return p.On<HighScoreScreen>() != nullptr; }));
  EXPECT_GE(p.platform.NowMs(), 900);
  ASSERT_TRUE(p.RunUntil([&] { return p.InMenu(); }));
  EXPECT_EQ(CountEvents(p.Log(), "\"action\":\"failed\""), 1) << "an unread table is not saved";
  EXPECT_TRUE(p.Log().ends_with("\"event\":\"screen\",\"name\":\"menu\"}\n"));

  // Escape in the menu ends the program, with the display given back.
  EXPECT_TRUE(p.Run());
  EXPECT_EQ(p.loop.End().status, kExitOk);
  EXPECT_TRUE(p.Log().ends_with("\"event\":\"exit\",\"code\":0}\n"));
  EXPECT_FALSE(p.loop.Pass()) << "an ended program stays ended";
}

// Escape is tested at the very end of a frame, after it was shown: a press
// between two samples ends the game on the next sample, before another frame
// runs, so a held machine gun fires no more. Not before the first frame.
TEST(ProgramLoop, EscapeEndsTheGameOnTheSampleAfterTheFrame) {
  Program p("0 mouse 320 250\n50 press enter\n300 press key-2\n400 down mouse-left\n" +
                std::string(kLongRun),
            Options(true, kRgb565, {{"OEDIR", "/nowhere/"}}));
  ASSERT_TRUE(
      p.RunUntil([&] { return p.On<GameScreen>() != nullptr && p.loop.Play()->frame_count > 40; }));
  p.platform.PressKey(vk::kEscape);  // while the last frame is on screen
  const std::int64_t shown = p.platform.FramesShown();
  const std::int64_t frames = p.loop.Play()->frame_count;
  const int shots = CountEvents(p.Log(), "\"number\":0");
  p.Run(1);
  EXPECT_EQ(p.On<GameScreen>(), nullptr) << "the game ended";
  EXPECT_EQ(p.platform.FramesShown(), shown) << "no frame after Escape";
  EXPECT_EQ(CountEvents(p.Log(), "\"number\":0"), shots) << "no shot after Escape";
  EXPECT_EQ(CountEvents(p.Log(), "\"reason\":\"escape\""), 1);
  EXPECT_GT(frames, 40);

  // Escape already down when the game starts: its first frame still runs.
  Program early(
      "0 mouse 320 250\n50 down enter\n60 up enter\n61 down escape\n" + std::string(kLongRun),
      Options(true, kRgb565, {{"OEDIR", "/nowhere/"}}));
  ASSERT_TRUE(early.RunUntil([&] { return early.On<GameScreen>() != nullptr; }));
  const std::int64_t menu_frames = early.platform.FramesShown();
  ASSERT_TRUE(early.RunUntil([&] { return early.On<GameScreen>() == nullptr; }));
  EXPECT_EQ(early.platform.FramesShown(), menu_frames + 1) << "one frame, then the end";
}

// A run-time error (here: no sound device when the game starts) is shown in
// a box over the last picture; once confirmed, the program ends with status 1
// and the mouse is no longer kept in the window.
TEST(ProgramLoop, ARunTimeErrorIsShownThenEndsTheProgram) {
  HeadlessOptions options = BoxesInWindow({});
  options.sound_device = false;
  Program p("0 mouse 320 250\n50 press enter\n500 press space\n" + std::string(kLongRun), options);
  ASSERT_TRUE(p.RunUntil([&] { return p.On<MessageBoxScreen>() != nullptr; }));
  EXPECT_FALSE(p.platform.InGameMode());
  EXPECT_EQ(p.On<MessageBoxScreen>()->Box().title, "M\xF6wenschuss");
  EXPECT_EQ(p.err.str(), "moewenschuss: Audiohardware nicht gefunden !\n");
  EXPECT_TRUE(p.Run());
  EXPECT_GE(p.platform.NowMs(), 500) << "it waited for the player";
  EXPECT_EQ(p.loop.End().status, kExitRuntimeError);
  EXPECT_TRUE(p.Log().ends_with(
      "\"event\":\"messagebox\",\"title\":\"Möwenschuss\",\"text\":\"Audiohardware nicht "
      "gefunden !\"}\n{\"t\":500,\"event\":\"exit\",\"code\":1}\n"))
      << p.Log();
}

// A close request confirms a box, and the program then ends as it would
// after OK and a close; the script running out ends the run with status 3.
TEST(ProgramLoop, ACloseConfirmsABoxAndARunPastItsScriptEnds) {
  const TempFolder folder("mw_loop_close");
  fs::create_directory(folder.Path() / "highscores.pdk");
  Program p("0 mouse 320 350\n50 press enter\n400 close\n",
            BoxesInWindow({{"OEDIR", folder.Path().string() + "/"}}));
  ASSERT_TRUE(p.RunUntil([&] { return p.On<MessageBoxScreen>() != nullptr; }));
  EXPECT_TRUE(p.Run());
  EXPECT_EQ(p.loop.End().status, kExitOk);
  EXPECT_GE(p.platform.NowMs(), 400);

  Program late("0 mouse 320 10\n");
  EXPECT_TRUE(late.Run());
  EXPECT_EQ(late.loop.End().status, kExitHeadlessTimeout);
  EXPECT_EQ(late.err.str(),
            "moewenschuss: test.script: das Programm läuft noch 60 s nach dem letzten Ereignis "
            "des Skripts\n");
  EXPECT_TRUE(late.Log().ends_with("\"event\":\"exit\",\"code\":3}\n"));
}

}  // namespace
}  // namespace mw::test
