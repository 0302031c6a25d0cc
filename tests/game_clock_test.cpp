// The clock where no golden game goes: the last ten seconds, the score floor,
// the pace and its message flood. (The clock's text and the frame rate are
// drawn in every golden game's pictures.)

#include <gtest/gtest.h>

#include <string>

#include "game/hud.h"
#include "test_world.h"
#include "text/cp1252.h"

namespace mw::test {
namespace {

// The warning sounds and the clock turns red from 0:10 on, down to 0:00.
TEST(GameClock, WarnsOnEachOfTheLastTenSeconds) {
  PhaseWorld world;
  world.StartGame();
  world.game.time_left.SetValue(13);  // the first frame makes it 12
  std::vector<std::int32_t> warned_at;
  for (int i = 0; i < 2000; ++i) {
    const int before = CountEvents(world.Log(), "\"number\":4");
    const bool running = world.PlayFrame();
    if (CountEvents(world.Log(), "\"number\":4") > before) {
      warned_at.push_back(world.game.time_left.Value());
    }
    const std::int32_t left = world.game.time_left.Value();
    EXPECT_EQ(ClockColour(left), left <= 10 ? Rgb(255, 0, 0) : Rgb(0, 0, 0)) << left;
    EXPECT_EQ(ClockText(left).size(), 4u) << "0:12 down to 0:00, padded";
    if (!running) break;
  }
  EXPECT_EQ(warned_at, (std::vector<std::int32_t>{10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
}

// A second is counted once more than 1000 ms have passed since the last one
// was, and the next is measured from the frame that counted it.
TEST(GameClock, ASecondIsCountedOnceMoreThanAThousandMillisecondsHavePassed) {
  PhaseWorld world;
  world.StartGame();
  world.play.last_second_tick = 5000;
  const std::int32_t before = world.game.time_left.Value();
  EXPECT_FALSE(ClockStep(world.ctx, 6000));
  EXPECT_EQ(world.game.time_left.Value(), before);
  EXPECT_FALSE(ClockStep(world.ctx, 6001));
  EXPECT_EQ(world.game.time_left.Value(), before - 1);
  EXPECT_EQ(world.play.last_second_tick, 6001);
}

TEST(GameClock, TheScoreIsKeptAboveTheFloorExceptInTheLastFrame) {
  PhaseWorld world;
  world.StartGame();
  ASSERT_TRUE(world.PlayFrame());
  world.game.score.SetValue(-10001);
  ASSERT_TRUE(world.PlayFrame());
  EXPECT_EQ(world.game.score.Value(), -10000);
  world.game.score.SetValue(-10000);
  ASSERT_TRUE(world.PlayFrame());
  EXPECT_EQ(world.game.score.Value(), -10000);

  // The frame in which the time runs out ends before the floor.
  world.game.time_left.SetValue(1);
  world.play.last_second_tick = 0;  // the next frame counts a second
  world.game.score.SetValue(-25000);
  ASSERT_FALSE(world.PlayFrame());
  EXPECT_EQ(world.game.score.Value(), -25000);
}

TEST(GameClock, PaceFollowsTheScoreAgainstTheLastSecond) {
  struct Case {
    std::int32_t change;
    std::int32_t interval;
    const char* message;  // UTF-8; empty: none
  };
  const Case cases[] = {
      {200, 10, "- Das ist Ihnen wohl zu leicht -"},
      {199, 50, ""},
      {-299, 50, ""},
      {-300, 100, "- Es geht um Pluspunkte!!! -"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.change);
    PhaseWorld world;
    world.session.setting_choice[kGameSpeed] = 2;  // "schnell": 50 ms
    world.StartGame();
    world.game.score.SetValue(1000);
    ASSERT_TRUE(world.PlayFrame());  // samples 1000
    world.game.score.SetValue(1000 + c.change);
    ASSERT_TRUE(world.PlayFrame());
    EXPECT_EQ(world.game.step_interval.Value(), c.interval);
    const std::string message = c.message;
    EXPECT_EQ(CountEvents(world.Log(), "\"event\":\"message\""), message.empty() ? 0 : 1);
    if (!message.empty()) {
      EXPECT_EQ(CountEvents(world.Log(), message), 1);
      const MessageSlot& slot =
          world.game.messages[static_cast<std::size_t>(world.game.message_index)];
      EXPECT_EQ(slot.text, Utf8ToCp1252(message));
    }
  }
}

TEST(GameClock, AHeldGainFloodsTheMessageRingUntilTheNextSample) {
  PhaseWorld world;
  world.StartGame();
  ASSERT_TRUE(world.PlayFrame());  // samples 0
  world.game.score.SetValue(250);
  int frames = 0;
  while (world.play.score_at_last_second != 250) {
    ASSERT_TRUE(world.PlayFrame());
    ++frames;
  }
  // One warning in every frame of the rest of that second, then no more.
  const int messages = CountEvents(world.Log(), "wohl zu leicht");
  EXPECT_EQ(messages, frames - 1) << "the sampling frame compares with the new sample";
  EXPECT_GT(messages, 50);
  world.PlayFrames(5);
  EXPECT_EQ(CountEvents(world.Log(), "wohl zu leicht"), messages);
  // The ring holds ten copies, each started one frame later and so 2 px lower.
  std::vector<int> ys;
  for (int k = 0; k < 10; ++k) {
    const auto slot = static_cast<std::size_t>((world.game.message_index + 10 - k) % 10);
    ys.push_back(world.game.messages[slot].y);
  }
  for (std::size_t k = 1; k < ys.size(); ++k) EXPECT_EQ(ys[k - 1] - ys[k], 2);
  EXPECT_EQ(world.game.messages[10].life, 0);
}

}  // namespace
}  // namespace mw::test
