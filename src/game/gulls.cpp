// The gull phase: every gull flies on game steps, and is replaced and
// hit-tested in every frame, one gull after the other in index order.

#include <string>

#include "errors/runtime_error.h"
#include "game/frame_rules.h"
#include "game/hit_test.h"
#include "game/score_change.h"
#include "game/screen_geometry.h"

namespace mw {
namespace {

// Floor(GameRandom * n) in double precision, as every random choice of the game.
std::int32_t RandomBelow(GameRandom& random, double n) {
  return static_cast<std::int32_t>(Floor(static_cast<double>(random.Next()) * n));
}

void Fly(Gull& g) {
  if (g.frame != 0) {
    g.frame = ToInt16(g.frame % 8 + 1);
    g.distance = ToInt16(g.distance - 1);
    if (g.distance > 0) {
      // The steps grow as the gull comes near; small ones round away.
      g.x = RoundToInt16(g.x + 2.0 * g.drift_x / g.distance);
      g.y = RoundToInt16(g.y + 2.0 * g.drift_y / g.distance);
    }
  } else {
    // A shot gull falls straight down, near ones faster, until it reaches
    // the sea at its own distance.
    g.y = RoundToInt16(g.y + 50.0 / g.distance);
    if (g.y + 240 >= 480 - 5 * g.distance) g.distance = -1;
  }
}

void LeaveSplat(GameContext& ctx, const Gull& g) {
  RunGameState& game = ctx.game;
  game.splat_count = ToInt32(std::int64_t{game.splat_count} + 1);
  PlayEffect(ctx, Sound::kSplat);
  ForcedWipe(ctx);
  // After a forced wipe the splat goes into entry 0, which is never drawn.
  if (game.splat_count < 0 || game.splat_count > kMaxSplats) {
    throw IndexOutOfRange();
  }
  SplatPos& splat = game.splats[static_cast<std::size_t>(game.splat_count)];
  splat.x = g.x + 960;
  splat.y = RandomBelow(game.random, 380);
}

void Arrive(GameContext& ctx, Gull& g) {
  if (g.frame == 0) {
    g.frame = 1;  // a fall has ended: no splat
  } else if (RandomBelow(ctx.game.random, ctx.game.splat_one_in.Value()) == 0) {
    LeaveSplat(ctx, g);
  }
  g = MakeGull(ctx.game.random, 50, g.frame);
}

void ScoreHit(GameContext& ctx, Gull& g) {
  RunGameState& game = ctx.game;
  // A far gull is worth more; in ship mode gulls cost what they are worth.
  const bool ship_mode = ShipModeActive(game);
  ChangeScore(game, ship_mode ? -g.distance : g.distance);
  const std::string digits = std::to_string(g.distance);
  ShowMessage(ctx, g.x + 960, g.y + 240, ship_mode ? "-" + digits : digits);
  PlayEffect(ctx, Sound::kGullHit);
  g.frame = 0;
}

}  // namespace

Gull MakeGull(GameRandom& random, std::int16_t distance, std::int16_t frame) {
  Gull g;
  g.distance = distance;
  g.frame = frame;
  g.x = ToInt16(RandomBelow(random, 1920) - 960);
  g.y = ToInt16(RandomBelow(random, 240) - 240);
  g.drift_x = ToInt16(RandomBelow(random, 20) - 10);
  g.drift_y = RoundToInt16(-(g.y + 240 + 50) / 4.5);
  return g;
}

void GullPhase(GameContext& ctx) {
  OneGameState& play = ctx.play;
  const std::size_t count = ctx.game.gulls.empty() ? 0 : ctx.game.gulls.size() - 1;
  // One shot hits every flying gull under the aim point; it is not used up.
  const Point aim = GameScreenToBackBuffer(ctx.game.shot_pos);
  for (std::size_t i = 1; i <= count; ++i) {
    Gull& g = ctx.game.gulls[i];
    if (play.step_due) Fly(g);
    if (g.distance <= 0) Arrive(ctx, g);
    if (g.distance <= 0) continue;
    if (play.shot_fired && g.frame != 0 && AimHits(GullRect(ctx.game, g), aim)) ScoreHit(ctx, g);
  }
}

}  // namespace mw
