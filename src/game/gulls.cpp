// The gull phase: every gull flies on game steps, and is replaced, hit-tested
// and drawn in every frame, one gull after the other in index order.

#include <string>

#include "game/phases.h"
#include "game/score_change.h"
#include "game/screen_geometry.h"
#include "platform/runtime_error.h"

namespace mw {
namespace {

// Floor(GameRandom * n) in double precision, as every random choice of the game.
std::int32_t RandomBelow(GameState& game, double n) {
  return static_cast<std::int32_t>(Floor(static_cast<double>(game.Random.Next()) * n));
}

void Fly(Gull& g) {
  if (g.Frame != 0) {
    g.Frame = ToInt16(g.Frame % 8 + 1);
    g.Distance = ToInt16(g.Distance - 1);
    if (g.Distance > 0) {
      // The steps grow as the gull comes near; small ones round away.
      g.X = RoundToInt16(g.X + 2.0 * g.DriftX / g.Distance);
      g.Y = RoundToInt16(g.Y + 2.0 * g.DriftY / g.Distance);
    }
  } else {
    // A shot gull falls straight down, near ones faster, until it reaches
    // the sea at its own distance.
    g.Y = RoundToInt16(g.Y + 50.0 / g.Distance);
    if (g.Y + 240 >= 480 - 5 * g.Distance) g.Distance = -1;
  }
}

void LeaveSplat(GameContext& ctx, const Gull& g) {
  GameState& game = ctx.game;
  game.SplatCount = ToInt32(std::int64_t{game.SplatCount} + 1);
  PlayEffect(ctx, Sound::kSplat);
  ForcedWipe(ctx);
  // After a forced wipe the splat goes into entry 0, which is never drawn.
  if (game.SplatCount < 0 || game.SplatCount > kMaxSplats) {
    throw IndexOutOfRange();
  }
  SplatPos& splat = game.Splats[static_cast<std::size_t>(game.SplatCount)];
  splat.X = g.X + 960;
  splat.Y = RandomBelow(game, 380);
}

void Arrive(GameContext& ctx, Gull& g) {
  if (g.Frame == 0) {
    g.Frame = 1;  // a fall has ended: no splat
  } else if (RandomBelow(ctx.game, ctx.game.SplatOneIn.Value()) == 0) {
    LeaveSplat(ctx, g);
  }
  NewGull(ctx.game, g);
}

void ScoreHit(GameContext& ctx, Gull& g) {
  GameState& game = ctx.game;
  // A far gull is worth more; in ship mode gulls cost what they are worth.
  const bool ship_mode = game.ShipHits >= 3;
  ChangeScore(game, ship_mode ? -g.Distance : g.Distance);
  const std::string digits = std::to_string(g.Distance);
  ShowMessage(ctx, g.X + 960, g.Y + 240, ship_mode ? "-" + digits : digits);
  PlayEffect(ctx, Sound::kGullHit);
  g.Frame = 0;
}

}  // namespace

void NewGull(GameState& game, Gull& g) {
  g.Distance = 50;
  g.X = ToInt16(RandomBelow(game, 1920) - 960);
  g.Y = ToInt16(RandomBelow(game, 240) - 240);
  g.DriftX = ToInt16(RandomBelow(game, 20) - 10);
  g.DriftY = RoundToInt16(-(g.Y + 240 + 50) / 4.5);
}

void GullPhase(GameContext& ctx) {
  PlayState& play = ctx.play;
  const std::size_t count = ctx.game.Gulls.empty() ? 0 : ctx.game.Gulls.size() - 1;
  for (std::size_t i = 1; i <= count; ++i) {
    Gull& g = ctx.game.Gulls[i];
    if (play.StepDue) Fly(g);
    if (g.Distance <= 0) Arrive(ctx, g);
    if (g.Distance <= 0) continue;

    const Rect on_screen = GullRect(ctx.game, g);
    // One shot hits every flying gull under the aim point; it is not used up.
    const Point aim = GameScreenToBackBuffer(ctx.game.ShotPos);
    if (play.ShotFired && g.Frame != 0 && PointInRect(on_screen, aim.x, aim.y)) ScoreHit(ctx, g);
    ctx.game.BackBuffer.BlitScaled(on_screen, GullImage(ctx.game, g.Frame), Rect{});
  }
}

}  // namespace mw
