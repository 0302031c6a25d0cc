// The ship: it crosses the sea in one of three lanes on game steps, is drawn
// and hit-tested in every frame after the gulls, and sinks when it is hit. Its
// hit count drives the penalties and ship mode, in which gulls cost points.

#include "game/phases.h"
#include "game/score_change.h"
#include "game/screen_geometry.h"
#include "platform/cp1252.h"

namespace mw {
namespace {

constexpr std::int16_t kShipStartX = -200;
constexpr std::int16_t kShipEndX = 1920;
constexpr std::int16_t kSunk = 100;
constexpr std::int16_t kShipModeEnds = 35;

void NewShip(GameState& game) {
  game.ShipX = kShipStartX;
  game.ShipDistance =
      ToInt16(static_cast<std::int64_t>(Floor(static_cast<double>(game.Random.Next()) * 3)) + 1);
}

void MoveShip(GameState& game) {
  if (game.ShipSinking == 0) {
    // Near lanes are faster: 50, 25 or 17 columns a step.
    game.ShipX = RoundToInt16(game.ShipX + 50.0 / game.ShipDistance);
    if (game.ShipX > kShipEndX) NewShip(game);
    return;
  }
  game.ShipSinking = ToInt16(game.ShipSinking + 5);
  if (game.ShipSinking >= kSunk) {
    NewShip(game);
    game.ShipSinking = 0;
  }
}

void ShipMessage(GameContext& ctx, const char* text) {
  ShowMessage(ctx, ctx.game.ShipX, 530 - 80 * ctx.game.ShipDistance, text);
}

void HitShip(GameContext& ctx) {
  GameState& game = ctx.game;
  PlayEffect(ctx, Sound::kShipHit);
  game.ShipSinking = 5;
  game.ShipHits = ToInt16(game.ShipHits + 1);
  switch (game.ShipHits) {
    case 1:
      ChangeScore(game, -200);
      ShipMessage(ctx, "-200");
      break;
    case 2:
      ChangeScore(game, -200);
      ShipMessage(ctx, "-200");
      ShowMessage(ctx, -110, 420, Utf8ToCp1252("- Bitte Möven abschießen -"));
      break;
    case 3:
      ChangeScore(game, 50);
      ShipMessage(ctx, "50");
      ShowMessage(ctx, -110, 420, "-Modus Schiffe Versenken aktiv -");
      break;
    default:
      if (game.ShipHits >= kShipModeEnds) {
        game.ShipHits = 0;
        ChangeScore(game, 20);
        ShipMessage(ctx, "20");
        ShowMessage(ctx, -110, 420, Utf8ToCp1252("- Jetzt wieder Möven! -"));
      } else {
        ChangeScore(game, 20);
        ShipMessage(ctx, "20");
      }
      break;
  }
}

}  // namespace

void ShipPhase(GameContext& ctx) {
  if (ctx.play.StepDue) MoveShip(ctx.game);
  const Rect on_screen = ShipRect(ctx.game);
  ctx.game.BackBuffer.BlitScaled(on_screen, ctx.game.ShipImage, ShipPictureRect(ctx.game));
  // The whole rectangle counts, also where it lies beyond the BackBuffer.
  const Point aim = GameScreenToBackBuffer(ctx.game.ShotPos);
  if (ctx.play.ShotFired && ctx.game.ShipSinking == 0 && PointInRect(on_screen, aim.x, aim.y)) {
    HitShip(ctx);
  }
}

}  // namespace mw
