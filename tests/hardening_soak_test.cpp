// The short soak: one "1:30" game played by the busy bot at "viele", "turbo"
// and machine-gun "turbo", ended on the high-score screen with a typed name;
// the bot checks the saved file itself. `make soak` plays the long version.

#include <gtest/gtest.h>

#include "hardening_sandbox.h"
#include "soak/soak_bot.h"

namespace mw {
namespace {

TEST(HardeningSoak, OneShortGameOfABusyPlayer) {
  test::Sandbox box;
  SoakOptions options;
  options.games = 1;
  options.game_time = 0;  // 1:30
  options.score_folder = (box.Root() / "").string();
  const SoakResult result = RunSoak(options);

  EXPECT_EQ(result.exit_code, 0);
  EXPECT_TRUE(result.problems.empty()) << result.problems.front();
  ASSERT_EQ(result.games.size(), 1u);
  const SoakGame& game = result.games[0];
  // 90 s at 60 frames a second, give or take the start and the end.
  EXPECT_NEAR(static_cast<double>(game.frames), 5400, 120);
  EXPECT_GT(game.gull_hits, 50);
  EXPECT_GT(game.reloads, 5);
  EXPECT_GT(game.weapon_switches, 5);
  EXPECT_GT(game.wipes, 0);
  EXPECT_GT(game.ship_hits, 0);
  EXPECT_GT(game.score, 0);  // so the table took the name, and the bot checked it
}

}  // namespace
}  // namespace mw
