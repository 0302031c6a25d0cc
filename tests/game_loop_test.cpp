// A game's frames as the loop runs them: step spacing, scrolling and its
// limits, the frame in which the time runs out, what a second game keeps.
// (How games end and what the player sees are in the golden runs and in the
// loop's own tests.)

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "errors/runtime_error.h"
#include "game/hit_test.h"
#include "game/screen_geometry.h"
#include "test_world.h"

namespace mw::test {
namespace {

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
    PhaseWorld w;
    w.session.setting_choice[kGameSpeed] = static_cast<std::int16_t>(speed);
    w.StartGame();
    w.mouse = {635, 240};  // scrolls right on steps
    w.game.view_x.SetValue(0);
    std::vector<int> steps;
    for (int i = 0; i < 80; ++i) {
      ASSERT_TRUE(w.PlayFrame());
      if (w.play.step_due) steps.push_back(i);
      EXPECT_EQ(w.game.view_x.Value(), 10 * static_cast<int>(steps.size()));
    }
    EXPECT_EQ(steps, expected) << "speed choice " << speed;
  }
}

struct ScrollCase {
  const char* name;
  Point mouse;
  int arrow;  // held, or 0
  std::int32_t start;
  std::vector<std::int32_t> after_each_step;
};

TEST(GameLoop, ScrollingStaysWithinThePanorama) {
  const std::vector<ScrollCase> cases = {
      {"mouse at the right edge", {635, 240}, 0, 1260, {1270, 1280, 1280}},
      {"mouse at the left edge", {5, 240}, 0, 20, {10, 0, 0}},
      {"arrow right", {320, 240}, vk::kRight, 1260, {1270, 1280, 1280}},
      {"arrow left", {320, 240}, vk::kLeft, 20, {10, 0, 0}},
      // Mouse and arrow add up while both tests find room...
      {"mouse and arrow right", {639, 240}, vk::kRight, 1230, {1250, 1270, 1280}},
      {"mouse and arrow left", {0, 240}, vk::kLeft, 50, {30, 10, 0}},
      // ...and cancel each other when they pull apart.
      {"mouse right, arrow left", {639, 240}, vk::kLeft, 640, {640, 640}},
      {"mouse in the middle", {630, 240}, 0, 640, {640, 640}},
  };
  for (const ScrollCase& c : cases) {
    SCOPED_TRACE(c.name);
    PhaseWorld w;
    w.session.setting_choice[kGameSpeed] = 3;  // a step every frame
    w.StartGame();
    EXPECT_EQ(w.game.view_x.Value(), 640);
    w.game.view_x.SetValue(c.start);
    w.mouse = c.mouse;
    if (c.arrow != 0) w.held.insert(c.arrow);
    for (std::int32_t expected : c.after_each_step) {
      ASSERT_TRUE(w.PlayFrame());
      ASSERT_TRUE(w.play.step_due);
      EXPECT_EQ(w.game.view_x.Value(), expected);
      EXPECT_EQ(PanoramaInView(w.game), (Rect{expected, 0, expected + 640, 480}));
    }
  }
}

// The frame in which the time runs out ends at the clock: it is neither
// counted nor does it move the crosshair, and the loop shows it not.
TEST(GameLoop, RunningOutOfTimeEndsTheFrameAtTheClock) {
  PhaseWorld w;
  w.StartGame();
  w.game.time_left.SetValue(3);
  int shown = 0;
  Point last_shown_mouse{};
  for (;; ++shown) {
    w.mouse = {shown % 600, 100};
    if (!w.PlayFrame()) break;
    last_shown_mouse = w.mouse;
  }
  EXPECT_GT(shown, 100);
  EXPECT_EQ(w.game.time_left.Value(), 0);
  EXPECT_EQ(w.play.frame_count, shown) << "the last frame must not be counted";
  EXPECT_EQ(w.game.cursor_pos, last_shown_mouse) << "nor move the crosshair";
}

// What a played game leaves behind: the next one starts clean but for what
// carries over (the golden high-score run plays two games for the rest).
TEST(GameLoop, ASecondGameStartsCleanButKeepsWhatCarriesOver) {
  PhaseWorld w;
  w.StartGame();
  w.PlayFrames(30);
  RunGameState& game = w.game;
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
  ShowMessage(w.ctx, -110, 420, "- Gewehr -");
  const std::int32_t message_index = game.message_index;

  w.StartGame();
  EXPECT_EQ(game.splat_count, 0);
  EXPECT_EQ(game.cartridges.Value(), 8);
  EXPECT_EQ(game.weapon, 1);
  EXPECT_EQ(game.ship_x, -200);
  EXPECT_EQ(game.step_interval.Value(), SettingValue(w.session, kGameSpeed));
  EXPECT_EQ(game.time_left.Value(), 90);
  for (const MessageSlot& slot : game.messages) EXPECT_EQ(slot.life, 0);
  EXPECT_EQ(w.play.frame_count, 0);

  EXPECT_EQ(game.message_index, message_index);
  EXPECT_EQ(game.ship_hits, 4);
  EXPECT_EQ(game.ship_sinking, 35);
  EXPECT_EQ(game.mg_counter, 7);
  EXPECT_EQ(game.saved_cartridges.Value(), 5);
  EXPECT_EQ(game.splats[2].x, 700);
}

TEST(GameLoop, AGameWithoutASoundDeviceDoesNotStart) {
  PhaseWorld w;
  PrepareGame(w.session, w.game);
  SoundDeviceOnly none(false);
  try {
    SetUpGame(w.game, w.play, kClockStart, none);
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_STREQ(e.what(), "Audiohardware nicht gefunden !");
  }
}

TEST(AimHits, AllFourEdgesAreInside) {
  const Rect r{10, 20, 30, 40};
  EXPECT_TRUE(AimHits(r, {10, 20}));
  EXPECT_TRUE(AimHits(r, {30, 40}));
  EXPECT_FALSE(AimHits(r, {9, 30}));
  EXPECT_FALSE(AimHits(r, {31, 30}));
  EXPECT_FALSE(AimHits(r, {20, 19}));
  EXPECT_FALSE(AimHits(r, {20, 41}));
}

}  // namespace
}  // namespace mw::test
