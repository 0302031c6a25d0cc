// The program's one loop, stepped pass by pass on the headless platform, where
// the golden runs cannot look: how many pictures each pass shows, and the
// game's first frame with Escape already down. (The screens' order, the end
// on the sample after Escape and the exit statuses are in the golden logs; a
// message box in the window and a close that confirms it in
// window_message_box.sh.)

#include <gtest/gtest.h>

#include <string>

#include "test_world.h"

namespace mw::test {
namespace {

// The game's first pass sets it up without a picture, and keeps the mouse in
// the window from then on; an ended program stays ended.
TEST(ProgramLoop, TheGamesSetUpShowsNothingAndAnEndedProgramStaysEnded) {
  Program p("0 mouse 320 250\n100 press enter\n1000 close\n");
  ASSERT_TRUE(p.RunUntil([&] { return p.On<GameScreen>() != nullptr; }));
  const std::int64_t shown = p.platform.FramesShown();
  EXPECT_TRUE(p.platform.InGameMode());
  p.Run(1);
  ASSERT_NE(p.On<GameScreen>(), nullptr);
  EXPECT_TRUE(p.On<GameScreen>()->SetUp());
  EXPECT_EQ(p.platform.FramesShown(), shown) << "the set-up shows nothing";
  p.Run(1);
  EXPECT_EQ(p.platform.FramesShown(), shown + 1) << "then one picture a frame";

  EXPECT_TRUE(p.Run());
  EXPECT_EQ(p.loop.End().status, kExitOk);
  EXPECT_FALSE(p.loop.Pass()) << "an ended program stays ended";
}

// Escape is tested after a frame was shown: down already when the game
// starts, its first frame still runs.
TEST(ProgramLoop, EscapeDownWhenTheGameStartsEndsItAfterItsFirstFrame) {
  Program p("0 mouse 320 250\n50 down enter\n60 up enter\n61 down escape\n" + std::string(kLongRun),
            Options(true, kRgb565, {{"OEDIR", "/nowhere/"}}));
  ASSERT_TRUE(p.RunUntil([&] { return p.On<GameScreen>() != nullptr; }));
  const std::int64_t menu_frames = p.platform.FramesShown();
  ASSERT_TRUE(p.RunUntil([&] { return p.On<GameScreen>() == nullptr; }));
  EXPECT_EQ(p.platform.FramesShown(), menu_frames + 1) << "one frame, then the end";
  EXPECT_EQ(CountEvents(p.Log(), "\"reason\":\"escape\""), 1);
}

}  // namespace
}  // namespace mw::test
