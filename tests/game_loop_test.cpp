// The frame loop: step timing, scrolling, the ways a game ends, what a second
// game keeps, and the return from a lost display.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/screen_geometry.h"
#include "platform/runtime_error.h"
#include "test_world.h"

namespace mw {
namespace {

using test::CountEvents;
using test::kLongRun;
using test::Options;
using World = test::World;

TEST(GameLoop, StepsAreSpacedByTheIntervalNotTheFrameRate) {
  World world(kLongRun);
  world.session.SettingChoice[kGameSpeed] = 0;  // "langsam": 200 ms
  world.SetUpGame();
  ASSERT_EQ(world.game.StepInterval.Value(), 200);
  std::vector<int> steps;
  for (int i = 0; i < 80; ++i) {
    ASSERT_TRUE(world.PlayFrame());
    if (world.play.StepDue) steps.push_back(i);
  }
  // The first frame is a step; then frames come every 1000/60 ms and a step is
  // the first frame more than 200 ms after the last one: every 13th.
  EXPECT_EQ(steps, (std::vector<int>{0, 13, 26, 39, 52, 65, 78}));
}

TEST(GameLoop, TurboStepsOnEveryPacedFrame) {
  World world(kLongRun);
  world.session.SettingChoice[kGameSpeed] = 3;
  world.SetUpGame();
  for (int i = 0; i < 20; ++i) {
    ASSERT_TRUE(world.PlayFrame());
    EXPECT_TRUE(world.play.StepDue) << "frame " << i;
  }
}

struct ScrollCase {
  const char* name;
  const char* script;
  std::int32_t start;
  std::vector<std::int32_t> after_each_step;
};

TEST(GameLoop, ScrollingStaysWithinThePanorama) {
  const std::vector<ScrollCase> cases = {
      {"mouse at the right edge", "0 mouse 635 240\n", 1260, {1270, 1280, 1280}},
      {"mouse at the left edge", "0 mouse 5 240\n", 20, {10, 0, 0}},
      {"arrow right", "0 mouse 320 240\n0 down arrow-right\n", 1260, {1270, 1280, 1280}},
      {"arrow left", "0 mouse 320 240\n0 down arrow-left\n", 20, {10, 0, 0}},
      // Mouse and arrow add up while both tests find room...
      {"mouse and arrow right", "0 mouse 639 240\n0 down arrow-right\n", 1230, {1250, 1270, 1280}},
      {"mouse and arrow left", "0 mouse 0 240\n0 down arrow-left\n", 50, {30, 10, 0}},
      // ...and cancel each other when they pull apart.
      {"mouse right, arrow left", "0 mouse 639 240\n0 down arrow-left\n", 640, {640, 640}},
      {"mouse in the middle", "0 mouse 630 240\n", 640, {640, 640}},
  };
  for (const ScrollCase& c : cases) {
    SCOPED_TRACE(c.name);
    World world(std::string(c.script) + kLongRun);
    world.session.SettingChoice[kGameSpeed] = 3;  // a step every frame
    world.SetUpGame();
    EXPECT_EQ(world.game.ViewX.Value(), 640);
    world.game.ViewX.SetValue(c.start);
    for (std::int32_t expected : c.after_each_step) {
      ASSERT_TRUE(world.PlayFrame());
      ASSERT_TRUE(world.play.StepDue);
      EXPECT_EQ(world.game.ViewX.Value(), expected);
      EXPECT_EQ(PanoramaInView(world.game), (Rect{expected, 0, expected + 640, 480}));
    }
  }
}

TEST(GameLoop, ScrollingWaitsForTheNextStep) {
  World world("0 mouse 635 240\n" + std::string(kLongRun));
  world.session.SettingChoice[kGameSpeed] = 0;  // "langsam"
  world.SetUpGame();
  ASSERT_TRUE(world.PlayFrame());
  EXPECT_EQ(world.game.ViewX.Value(), 650);
  for (int i = 1; i < 13; ++i) ASSERT_TRUE(world.PlayFrame());
  EXPECT_EQ(world.game.ViewX.Value(), 650);
  ASSERT_TRUE(world.PlayFrame());
  EXPECT_EQ(world.game.ViewX.Value(), 660);
}

TEST(GameLoop, RunningOutOfTimeEndsWithoutShowingTheLastFrame) {
  World world(kLongRun);
  world.SetUpGame();
  world.game.TimeLeft.SetValue(3);
  std::int64_t shown = 0;
  bool ended = false;
  for (int i = 0; i < 1000 && !ended; ++i) {
    shown = world.platform.FramesShown();
    ended = !world.PlayFrame();
  }
  ASSERT_TRUE(ended);
  EXPECT_EQ(world.play.End, GameEnd::kTime);
  EXPECT_EQ(world.game.TimeLeft.Value(), 0);
  EXPECT_EQ(world.platform.FramesShown(), shown) << "the last frame must not be shown";
  EXPECT_EQ(world.play.FrameCount, shown) << "nor counted";
}

TEST(GameLoop, EscapeEndsAfterTheFrameIsShown) {
  World world("500 press escape\n" + std::string(kLongRun));
  world.SetUpGame();
  ASSERT_TRUE(world.PlayFrames(1000));
  EXPECT_EQ(world.play.End, GameEnd::kEscape);
  // Frame 31 takes its input at t 500.01, Escape in it: the frame is still
  // drawn, shown and counted.
  EXPECT_EQ(world.platform.FramesShown(), 31);
  EXPECT_EQ(world.play.FrameCount, 31);
}

TEST(GameLoop, RunGameLogsTheScreenAndHowTheGameEnded) {
  struct Case {
    const char* script;
    const char* reason;
  };
  for (const Case& c : {Case{"700 press escape\n", "\"reason\":\"escape\""},
                        Case{"700 close\n", "\"reason\":\"close\""}}) {
    World world(std::string(c.script) + kLongRun);
    PrepareGame(world.session, world.game);
    RunGame(world.ctx);
    const EventLog& log = world.platform.Events();
    EXPECT_EQ(CountEvents(log, "\"event\":\"screen\",\"name\":\"game\""), 1);
    EXPECT_EQ(CountEvents(log, c.reason), 1) << log.Text();
    EXPECT_EQ(CountEvents(log, "\"score\":0"), 1) << log.Text();
    EXPECT_FALSE(world.platform.InGameMode()) << "the system cursor must be back";
    EXPECT_FALSE(world.game.PanoramaImage) << "the game images are released";
  }
}

TEST(GameLoop, AWholeGameRunsOutOfTime) {
  World world(kLongRun);
  world.session.SettingChoice[kGameSpeed] = 3;
  StartGame(world.platform, world.session, world.game);
  const EventLog& log = world.platform.Events();
  EXPECT_EQ(CountEvents(log, "\"reason\":\"time\""), 1) << log.Text();
  // 90 counted seconds of a little more than 1000 ms each, the first at once.
  EXPECT_GT(world.platform.NowMs(), 89000.0);
  EXPECT_LT(world.platform.NowMs(), 91500.0);
}

TEST(GameLoop, NoSoundDeviceEndsTheProgramWithItsMessage) {
  World world(kLongRun, Options(/*sound_device=*/false));
  PrepareGame(world.session, world.game);
  try {
    RunGame(world.ctx);
    FAIL() << "a game without sound device must not run";
  } catch (const RuntimeError& e) {
    EXPECT_STREQ(e.what(), "Audiohardware nicht gefunden !");
  }
  EXPECT_FALSE(world.platform.InGameMode()) << "the box needs the system cursor";
  EXPECT_EQ(world.platform.FramesShown(), 0);
}

TEST(GameLoop, ASecondGameStartsCleanButKeepsWhatCarriesOver) {
  World world("300 mouse 600 100\n300 down mouse-left\n" + std::string(kLongRun));
  world.SetUpGame();
  world.PlayFrames(30);
  // Leave behind what a played game leaves.
  GameState& game = world.game;
  game.Score.SetValue(4321);
  game.SplatCount = 3;
  game.Splats[2] = SplatPos{700, 200};
  game.ViewX.SetValue(100);
  game.Cartridges.SetValue(0);
  game.SavedCartridges.SetValue(5);
  game.Weapon = 2;
  game.MgCounter = 7;
  game.ShipX = 900;
  game.ShipHits = 4;
  game.ShipSinking = 35;
  game.StepInterval.SetValue(10);
  game.TimeLeft.SetValue(7);
  ShowMessage(world.ctx, -110, 420, "- Gewehr -");
  const std::int32_t message_index = game.MessageIndex;
  const Point cursor = game.CursorPos;
  const Point shot{33, 44};
  game.ShotPos = shot;
  TearDownGame(world.ctx);

  world.session.SettingChoice[kGullCount] = 2;  // "viele"
  world.SetUpGame();
  EXPECT_EQ(game.Score.Value(), 0);
  EXPECT_EQ(game.SplatCount, 0);
  EXPECT_EQ(game.ViewX.Value(), 640);
  EXPECT_EQ(game.Cartridges.Value(), 8);
  EXPECT_EQ(game.Weapon, 1);
  EXPECT_EQ(game.ShipX, -200);
  EXPECT_GE(game.ShipDistance, 1);
  EXPECT_LE(game.ShipDistance, 3);
  EXPECT_EQ(game.StepInterval.Value(), SettingValue(world.session, kGameSpeed));
  EXPECT_EQ(game.TimeLeft.Value(), 90);
  EXPECT_EQ(game.SplatOneIn.Value(), 5);
  EXPECT_EQ(game.Gulls.size(), 101u);
  for (const MessageSlot& slot : game.Messages) EXPECT_EQ(slot.Life, 0);
  EXPECT_EQ(world.play.FrameCount, 0);
  EXPECT_EQ(world.play.LastSecondTick, 0);

  EXPECT_EQ(game.MessageIndex, message_index);
  EXPECT_EQ(game.ShipHits, 4);
  EXPECT_EQ(game.ShipSinking, 35);
  EXPECT_EQ(game.MgCounter, 7);
  EXPECT_EQ(game.SavedCartridges.Value(), 5);
  EXPECT_EQ(game.Splats[2].X, 700);
  EXPECT_EQ(game.Splats[2].Y, 200);
  EXPECT_EQ(game.CursorPos, cursor);
  EXPECT_EQ(game.ShotPos, shot);
}

TEST(GameLoop, StartingGullsAreStaggeredTowardsTheViewer) {
  World world(kLongRun);
  world.session.SettingChoice[kGullCount] = 1;  // "mittel": 25
  world.SetUpGame();
  ASSERT_EQ(world.game.Gulls.size(), 26u);
  for (std::size_t i = 1; i < world.game.Gulls.size(); ++i) {
    const Gull& g = world.game.Gulls[i];
    EXPECT_EQ(g.Distance, 2 * static_cast<int>(i) - 25);
    EXPECT_EQ(g.Frame, 1);
    EXPECT_GE(g.X, -960);
    EXPECT_LE(g.X, 959);
    EXPECT_GE(g.Y, -240);
    EXPECT_LE(g.Y, -1);
    EXPECT_GE(g.DriftX, -10);
    EXPECT_LE(g.DriftX, 9);
    EXPECT_LE(g.DriftY, -11);
    EXPECT_GE(g.DriftY, -64);
  }
}

TEST(GameLoop, ALostDisplayCostsOneSecondOnly) {
  // Lost at 2500 ms for 20 s; a click made meanwhile is forgotten.
  World world("2500 lose-display 20000\n10000 press mouse-left\n10000 press enter\n" +
              std::string(kLongRun));
  world.SetUpGame();
  std::int32_t before = 0;
  for (int i = 0; i < 200; ++i) {
    before = world.game.TimeLeft.Value();
    const double t0 = world.platform.NowMs();
    ASSERT_TRUE(world.PlayFrame());
    if (world.platform.NowMs() - t0 > 1000.0) {
      EXPECT_EQ(world.game.TimeLeft.Value(), before - 1);
      EXPECT_TRUE(world.play.StepDue) << "the first frame back is a step";
      EXPECT_TRUE(world.game.PanoramaImage);
      EXPECT_EQ(world.game.Cartridges.Value(), 8) << "the click fired no shot";
      // The next second is counted a full second after the return.
      const std::int32_t after = world.game.TimeLeft.Value();
      world.PlayFrames(59);
      EXPECT_EQ(world.game.TimeLeft.Value(), after);
      return;
    }
  }
  FAIL() << "the display was never lost";
}

TEST(GameLoop, ClosingTheWindowWhileTheDisplayIsLostEndsTheGame) {
  World world("100 lose-display 50000\n2000 close\n" + std::string(kLongRun));
  world.SetUpGame();
  ASSERT_TRUE(world.PlayFrames(100));
  EXPECT_EQ(world.play.End, GameEnd::kClose);
  EXPECT_LT(world.platform.NowMs(), 3000.0);
}

TEST(PointInRect, AllFourEdgesAreInside) {
  const Rect r{10, 20, 30, 40};
  EXPECT_TRUE(PointInRect(r, 10, 20));
  EXPECT_TRUE(PointInRect(r, 30, 40));
  EXPECT_FALSE(PointInRect(r, 9, 30));
  EXPECT_FALSE(PointInRect(r, 31, 30));
  EXPECT_FALSE(PointInRect(r, 20, 19));
  EXPECT_FALSE(PointInRect(r, 20, 41));
}

}  // namespace
}  // namespace mw
