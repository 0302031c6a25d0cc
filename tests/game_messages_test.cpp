// The ring of message slots and the ring of sound channels, which the
// golden runs fill without showing which slot or channel each took.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "errors/runtime_error.h"
#include "test_world.h"

namespace mw {
namespace {

using test::CountEvents;
using test::kLongRun;
using World = test::World;

TEST(GameMessages, TheRingFillsSlotsOneToNineThenZeroAndNeverTen) {
  World world(kLongRun);
  world.SetUpGame();
  std::vector<std::int32_t> filled;
  for (int i = 1; i <= 11; ++i) {
    const std::string text = std::to_string(i) + "m";
    ShowMessage(world.ctx, -110, 400 - i, text);
    filled.push_back(world.game.message_index);
  }
  EXPECT_EQ(filled, (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1}));
  // The eleventh took the first one's slot before its time was up.
  EXPECT_EQ(world.game.messages[1].text, "11m");
  EXPECT_EQ(world.game.messages[1].y, 389);
  EXPECT_EQ(world.game.messages[0].text, "10m");
  EXPECT_EQ(world.game.messages[10].life, 0);
  EXPECT_EQ(CountEvents(world.platform.Events(), "\"event\":\"message\""), 11);
  EXPECT_EQ(CountEvents(world.platform.Events(), "\"text\":\"3m\",\"x\":-110,\"y\":397"), 1);
}

TEST(GameSounds, PlaysGoRoundARingOfAHundredAcrossGames) {
  World world(kLongRun);
  world.SetUpGame();
  // The channel of a play is the ring's index once it has been played.
  std::vector<int> channels;
  auto play = [&](int number) {
    PlayEffect(world.ctx, static_cast<Sound>(number));
    channels.push_back(world.game.sounds.play_index);
  };
  for (int i = 0; i < 60; ++i) play(i % 8 == 2 ? 0 : i % 8);
  // A second game loads the effects anew but goes on round the same ring.
  TearDownGame(world.ctx);
  world.SetUpGame();
  for (int i = 0; i < 41; ++i) play(6);
  ASSERT_EQ(channels.size(), 101u);
  EXPECT_EQ(std::set<int>(channels.begin(), channels.end() - 1).size(), 100u)
      << "a hundred plays sound at once, none cuts another";
  EXPECT_EQ(channels.front(), 1);
  EXPECT_EQ(channels.back(), channels.front()) << "the 101st replaces the first";
  EXPECT_EQ(world.platform.SoundPlays(), 101);
  EXPECT_EQ(CountEvents(world.platform.Events(), "\"event\":\"sound\",\"number\":6"), 41 + 7);
}

TEST(GameSounds, EffectTwoAndNumbersOutsideTheTableAreErrors) {
  World world(kLongRun);
  world.SetUpGame();
  for (int bad : {-1, 2, 8, 1000}) {
    EXPECT_THROW(PlayEffect(world.ctx, static_cast<Sound>(bad)), RuntimeError) << bad;
  }
  EXPECT_EQ(world.platform.SoundPlays(), 0);
}

}  // namespace
}  // namespace mw
