// The ship: it crosses the sea in one of three lanes on game steps, is
// hit-tested in every frame after the gulls, and sinks when it is hit. Its
// hit count drives the penalties and ship mode, in which gulls cost points.

#include "game/frame_rules.h"
#include "game/hit_test.h"
#include "game/score_change.h"
#include "game/screen_geometry.h"
#include "text/cp1252.h"

namespace mw {
namespace {

constexpr std::int16_t kShipStartX = -200;
constexpr std::int16_t kShipEndX = 1920;
constexpr std::int16_t kSunk = 100;
constexpr std::int16_t kShipModeStarts = 3;
constexpr std::int16_t kShipModeEnds = 35;

void MoveShip(RunGameState& game) {
  if (game.ship_sinking == 0) {
    // Near lanes are faster: 50, 25 or 17 columns a step.
    game.ship_x = RoundToInt16(game.ship_x + 50.0 / game.ship_distance);
    if (game.ship_x > kShipEndX) NewShip(game);
    return;
  }
  game.ship_sinking = ToInt16(game.ship_sinking + 5);
  if (game.ship_sinking >= kSunk) {
    NewShip(game);
    game.ship_sinking = 0;
  }
}

void ShipMessage(GameContext& ctx, const char* text) {
  ShowMessage(ctx, ctx.game.ship_x, 530 - 80 * ctx.game.ship_distance, text);
}

void HitShip(GameContext& ctx) {
  RunGameState& game = ctx.game;
  PlayEffect(ctx, Sound::kShipHit);
  game.ship_sinking = 5;
  game.ship_hits = ToInt16(game.ship_hits + 1);
  switch (game.ship_hits) {
    case 1:
      ChangeScore(game, -200);
      ShipMessage(ctx, "-200");
      break;
    case 2:
      ChangeScore(game, -200);
      ShipMessage(ctx, "-200");
      Announce(ctx, Utf8ToCp1252("- Bitte Möven abschießen -"));
      break;
    case 3:
      ChangeScore(game, 50);
      ShipMessage(ctx, "50");
      Announce(ctx, "-Modus Schiffe Versenken aktiv -");
      break;
    default:
      if (game.ship_hits >= kShipModeEnds) {
        game.ship_hits = 0;
        ChangeScore(game, 20);
        ShipMessage(ctx, "20");
        Announce(ctx, Utf8ToCp1252("- Jetzt wieder Möven! -"));
      } else {
        ChangeScore(game, 20);
        ShipMessage(ctx, "20");
      }
      break;
  }
}

}  // namespace

void NewShip(RunGameState& game) {
  game.ship_x = kShipStartX;
  game.ship_distance =
      ToInt16(static_cast<std::int64_t>(Floor(static_cast<double>(game.random.Next()) * 3)) + 1);
}

bool ShipModeActive(const RunGameState& game) {
  return game.ship_hits >= kShipModeStarts;
}

void ShipPhase(GameContext& ctx) {
  if (ctx.play.step_due) MoveShip(ctx.game);
  // The frame shows the ship as it stood when the shot came.
  ctx.play.ship_sinking_shown = ctx.game.ship_sinking;
  if (!ctx.play.shot_fired || ctx.game.ship_sinking != 0) return;
  // The whole rectangle counts, also where it lies beyond the BackBuffer.
  if (AimHits(ShipRect(ctx.game), GameScreenToBackBuffer(ctx.game.shot_pos))) HitShip(ctx);
}

}  // namespace mw
