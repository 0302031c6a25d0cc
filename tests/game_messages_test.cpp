// The ring of message slots and the ring of sound channels, which the
// golden runs fill without showing which slot or channel each took. (Where a
// message stands, rises and fades is in the golden games' pictures.)

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "errors/runtime_error.h"
#include "test_world.h"

namespace mw::test {
namespace {

TEST(GameMessages, TheRingFillsSlotsOneToNineThenZeroAndNeverTen) {
  PhaseWorld world;
  world.StartGame();
  std::vector<std::int32_t> filled;
  for (int i = 1; i <= 11; ++i) {
    const std::string text = std::to_string(i) + "m";
    ShowMessage(world.ctx, -110, 400 - i, text);
    filled.push_back(world.game.message_index);
  }
  EXPECT_EQ(filled, (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1}));
  // The eleventh took the first one's slot before its time was up.
  EXPECT_EQ(world.game.messages[1].text, "11m");
  EXPECT_EQ(world.game.messages[0].text, "10m");
  EXPECT_EQ(world.game.messages[10].life, 0);
  EXPECT_EQ(CountEvents(world.Log(), "\"event\":\"message\""), 11);
}

TEST(GameSounds, PlaysGoRoundARingOfAHundredAcrossGames) {
  PhaseWorld world;
  world.StartGame();
  auto play = [&](int number) { PlayEffect(world.ctx, static_cast<Sound>(number)); };
  for (int i = 0; i < 60; ++i) play(i % 8 == 2 ? 0 : i % 8);
  // A second game goes on round the same ring.
  world.StartGame();
  for (int i = 0; i < 41; ++i) play(6);
  // Each sound's channel, as the loop plays it.
  std::vector<int> channels;
  for (const Event& event : world.out.events) {
    if (const auto* sound = std::get_if<SoundEvent>(&event)) channels.push_back(sound->channel);
  }
  ASSERT_EQ(channels.size(), 101u);
  EXPECT_EQ(std::set<int>(channels.begin(), channels.end() - 1).size(), 100u)
      << "a hundred plays sound at once, none cuts another";
  EXPECT_EQ(channels.front(), 1);
  EXPECT_EQ(channels.back(), channels.front()) << "the 101st replaces the first";
  EXPECT_EQ(CountEvents(world.Log(), "\"event\":\"sound\",\"number\":6"), 41 + 7);
}

TEST(GameSounds, EffectTwoAndNumbersOutsideTheTableAreErrors) {
  PhaseWorld world;
  for (int bad : {-1, 2, 8, 1000}) {
    EXPECT_THROW(PlayEffect(world.ctx, static_cast<Sound>(bad)), RuntimeError) << bad;
  }
  EXPECT_TRUE(world.Sounds().empty());
}

}  // namespace
}  // namespace mw::test
