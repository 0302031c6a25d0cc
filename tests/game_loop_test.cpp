// The frame loop's exact timing and limits: step spacing, scrolling, the
// last frame, what a second game keeps, and the return from a lost display.
// (How games end and what the player sees are in the golden runs.)

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "errors/runtime_error.h"
#include "game/screen_geometry.h"
#include "test_world.h"

namespace mw {
namespace {

using test::CountEvents;
using test::kLongRun;
using test::Options;
using World = test::World;

TEST(GameLoop, StepsAreSpacedByTheIntervalNotTheFrameRateAndOnlyStepsScroll) {
  // The first frame is a step; then frames come every 1000/60 ms and a step is
  // the first frame more than the interval after the last one.
  std::vector<int> every_13th;
  std::vector<int> every_frame;
  for (int i = 0; i < 80; ++i) {
    if (i % 13 == 0) every_13th.push_back(i);
    every_frame.push_back(i);
  }
  for (const auto& [speed, expected] : {std::pair{0, every_13th}, std::pair{3, every_frame}}) {
    World world("0 mouse 635 240\n" + std::string(kLongRun));  // scrolls right on steps
    world.session.setting_choice[kGameSpeed] = static_cast<std::int16_t>(speed);
    world.SetUpGame();
    world.game.view_x.SetValue(0);
    std::vector<int> steps;
    for (int i = 0; i < 80; ++i) {
      ASSERT_TRUE(world.PlayFrame());
      if (world.play.step_due) steps.push_back(i);
      EXPECT_EQ(world.game.view_x.Value(), 10 * static_cast<int>(steps.size()));
    }
    EXPECT_EQ(steps, expected) << "speed choice " << speed;
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
    world.session.setting_choice[kGameSpeed] = 3;  // a step every frame
    world.SetUpGame();
    EXPECT_EQ(world.game.view_x.Value(), 640);
    world.game.view_x.SetValue(c.start);
    for (std::int32_t expected : c.after_each_step) {
      ASSERT_TRUE(world.PlayFrame());
      ASSERT_TRUE(world.play.step_due);
      EXPECT_EQ(world.game.view_x.Value(), expected);
      EXPECT_EQ(PanoramaInView(world.game), (Rect{expected, 0, expected + 640, 480}));
    }
  }
}

TEST(GameLoop, RunningOutOfTimeEndsWithoutShowingTheLastFrame) {
  World world(kLongRun);
  world.SetUpGame();
  world.game.time_left.SetValue(3);
  std::int64_t shown = 0;
  bool ended = false;
  for (int i = 0; i < 1000 && !ended; ++i) {
    shown = world.platform.FramesShown();
    ended = !world.PlayFrame();
  }
  ASSERT_TRUE(ended);
  EXPECT_EQ(world.play.end, GameEnd::kTime);
  EXPECT_EQ(world.game.time_left.Value(), 0);
  EXPECT_EQ(world.platform.FramesShown(), shown) << "the last frame must not be shown";
  EXPECT_EQ(world.play.frame_count, shown) << "nor counted";
}

TEST(GameLoop, EscapeEndsAfterTheFrameIsShown) {
  World world("500 press escape\n" + std::string(kLongRun));
  world.SetUpGame();
  ASSERT_TRUE(world.PlayFrames(1000));
  EXPECT_EQ(world.play.end, GameEnd::kEscape);
  // Frame 31 takes its input at t 500.01, Escape in it: the frame is still
  // drawn, shown and counted.
  EXPECT_EQ(world.platform.FramesShown(), 31);
  EXPECT_EQ(world.play.frame_count, 31);
}

// The system cursor is back however the game ends, also when it cannot
// start without a sound device.
TEST(GameLoop, RunGameGivesTheCursorBackHoweverTheGameEnds) {
  for (const bool sound_device : {true, false}) {
    World world("700 press escape\n" + std::string(kLongRun), Options(sound_device));
    PrepareGame(world.session, world.game);
    if (sound_device) {
      RunGame(world.ctx);
      EXPECT_EQ(world.play.end, GameEnd::kEscape);
      EXPECT_FALSE(world.game.panorama_image);
    } else {
      EXPECT_THROW(RunGame(world.ctx), RuntimeError);
      EXPECT_EQ(world.platform.FramesShown(), 0);
    }
    EXPECT_FALSE(world.platform.InGameMode());
  }
}

// What a played game leaves behind: the next one starts clean but for what
// carries over (the golden high-score run plays two games for the rest).
TEST(GameLoop, ASecondGameStartsCleanButKeepsWhatCarriesOver) {
  World world;
  world.SetUpGame();
  world.PlayFrames(30);
  GameState& game = world.game;
  game.splat_count = 3;
  game.splats[2] = SplatPos{700, 200};
  game.cartridges.SetValue(0);
  game.saved_cartridges.SetValue(5);
  game.weapon = 2;
  game.mg_counter = 7;
  game.ship_x = 900;
  game.ship_hits = 4;
  game.ship_sinking = 35;
  game.step_interval.SetValue(10);
  game.time_left.SetValue(7);
  ShowMessage(world.ctx, -110, 420, "- Gewehr -");
  const std::int32_t message_index = game.message_index;
  TearDownGame(world.ctx);

  world.SetUpGame();
  EXPECT_EQ(game.splat_count, 0);
  EXPECT_EQ(game.cartridges.Value(), 8);
  EXPECT_EQ(game.weapon, 1);
  EXPECT_EQ(game.ship_x, -200);
  EXPECT_EQ(game.step_interval.Value(), SettingValue(world.session, kGameSpeed));
  EXPECT_EQ(game.time_left.Value(), 90);
  for (const MessageSlot& slot : game.messages) EXPECT_EQ(slot.life, 0);
  EXPECT_EQ(world.play.frame_count, 0);

  EXPECT_EQ(game.message_index, message_index);
  EXPECT_EQ(game.ship_hits, 4);
  EXPECT_EQ(game.ship_sinking, 35);
  EXPECT_EQ(game.mg_counter, 7);
  EXPECT_EQ(game.saved_cartridges.Value(), 5);
  EXPECT_EQ(game.splats[2].x, 700);
}

TEST(GameLoop, ALostDisplayCostsOneSecondOnly) {
  // Lost at 2500 ms for 20 s; a click made meanwhile is forgotten.
  World world("2500 lose-display 20000\n10000 press mouse-left\n10000 press enter\n" +
              std::string(kLongRun));
  world.SetUpGame();
  std::int32_t before = 0;
  for (int i = 0; i < 200; ++i) {
    before = world.game.time_left.Value();
    const double t0 = world.platform.NowMs();
    ASSERT_TRUE(world.PlayFrame());
    if (world.platform.NowMs() - t0 > 1000.0) {
      EXPECT_EQ(world.game.time_left.Value(), before - 1);
      EXPECT_TRUE(world.play.step_due) << "the first frame back is a step";
      EXPECT_TRUE(world.game.panorama_image);
      EXPECT_EQ(world.game.cartridges.Value(), 8) << "the click fired no shot";
      // The next second is counted a full second after the return.
      const std::int32_t after = world.game.time_left.Value();
      world.PlayFrames(59);
      EXPECT_EQ(world.game.time_left.Value(), after);
      return;
    }
  }
  FAIL() << "the display was never lost";
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
