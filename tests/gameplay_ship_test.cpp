// The ship where no golden run goes: the nearest lane beyond the BackBuffer,
// the whole count of hits (the golden ship run plays four), a shot through a
// gull into the ship.

#include <gtest/gtest.h>

#include "game/screen_geometry.h"
#include "test_world.h"
#include "text/cp1252.h"

namespace mw::test {
namespace {

using Shown = PhaseWorld::Shown;

// Puts the ship afloat in a lane, with its left edge at screen x 0.
void PlaceShip(PhaseWorld& w, std::int16_t lane) {
  w.game.ship_distance = lane;
  w.game.ship_sinking = 0;
  w.game.ship_x = static_cast<std::int16_t>(w.game.view_x.Value());
}

TEST(GameplayShip, LaneOneReachesBeyondTheBackBufferAndIsHitThere) {
  PhaseWorld w;
  PlaceShip(w, 1);
  w.Frame();
  // 400 x 200 with its waterline at BackBuffer row 650, 70 rows below the end.
  EXPECT_EQ(ShipRect(w.game), (Rect{100, 450, 500, 650}));
  EXPECT_EQ(ShipPictureRect(w.game.ship_sinking), (Rect{0, 0, 200, 100}));
  w.Click({399, 479});
  EXPECT_EQ(w.game.ship_sinking, 5);
  EXPECT_EQ(w.Sounds(), (std::vector<int>{0, 7}));

  PhaseWorld far;
  PlaceShip(far, 3);
  far.Frame();
  EXPECT_EQ(ShipRect(far.game), (Rect{100, 290, 233, 357}));
  far.Click({133, 239});  // one row above the top edge
  EXPECT_EQ(far.game.ship_sinking, 0);
  far.Click({133, 240});
  EXPECT_EQ(far.game.ship_sinking, 5);
}

TEST(GameplayShip, TheHitCountDrivesPenaltiesAndShipMode) {
  PhaseWorld w;
  const std::string back_to_gulls = Utf8ToCp1252("- Jetzt wieder Möven! -");
  struct Expect {
    int hit;
    int score;
    std::vector<Shown> shown;
  };
  // (The first four hits are the golden ship run's.)
  const std::vector<Expect> table{
      {34, 270, {{640, 450, "20"}}},
      {35, 290, {{640, 450, "20"}, {-110, 420, back_to_gulls}}},
      {36, 90, {{640, 450, "-200"}}},
  };
  std::size_t next = 0;
  for (int hit = 1; hit <= 36; ++hit) {
    PlaceShip(w, 1);
    w.game.cartridges.SetValue(8);
    const std::int32_t ring = w.game.message_index;
    w.Click({400, 470});
    ASSERT_EQ(w.game.ship_sinking, 5) << "hit " << hit;
    EXPECT_EQ(ShipModeActive(w.game), hit >= 3 && hit <= 34) << "hit " << hit;
    if (next < table.size() && table[next].hit == hit) {
      EXPECT_EQ(w.game.score.Value(), table[next].score) << "hit " << hit;
      EXPECT_EQ(w.MessagesSince(ring), table[next].shown) << "hit " << hit;
      ++next;
    }
  }
  EXPECT_EQ(next, table.size());
  EXPECT_EQ(w.game.ship_hits, 1) << "the 36th hit starts a new count";
}

TEST(GameplayShip, OneShotHitsAGullAndTheShipBehindIt) {
  PhaseWorld w;
  PlaceShip(w, 2);
  w.AddGull(-170, 160, 10);  // its corner at screen (150, 400), over the ship
  w.Click({150, 400});
  EXPECT_EQ(w.game.score.Value(), 10 - 200);
  EXPECT_EQ(w.Sounds(), (std::vector<int>{0, 6, 7}));
}

// The frame of the hit shows the ship afloat; it sinks from the next one on.
TEST(GameplayShip, TheFrameOfTheHitShowsTheShipAsTheShotFoundIt) {
  PhaseWorld w;
  PlaceShip(w, 2);
  w.mouse = {150, 400};
  w.held = {vk::kLeftButton};
  w.Frame();
  EXPECT_EQ(w.game.ship_sinking, 5);
  EXPECT_EQ(w.play.ship_sinking_shown, 0);
  w.held.clear();
  w.Frame();
  EXPECT_EQ(w.play.ship_sinking_shown, 5);
}

}  // namespace
}  // namespace mw::test
