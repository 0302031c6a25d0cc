#include <cstdint>

#include "game/frame_rules.h"

namespace mw {
namespace {

constexpr std::int32_t kScoreFloor = -10000;

}  // namespace

bool ClockStep(GameContext& ctx, std::int64_t now) {
  RunGameState& game = ctx.game;
  OneGameState& play = ctx.play;
  if (now <= play.last_second_tick + 1000) return false;

  // The mark is the clock now, so time spent away (a lost display) costs one
  // second only.
  play.last_second_tick = now;
  // The average since the start; 64-bit, so a long game cannot overflow it.
  const std::int64_t elapsed = now - play.start_tick + 1;
  play.fps = elapsed > 0
                 ? static_cast<std::int64_t>(Floor(static_cast<double>(play.frame_count * 1000) /
                                                   static_cast<double>(elapsed)))
                 : 0;
  game.time_left.SetValue(ToInt32(static_cast<std::int64_t>(game.time_left.Value()) - 1));
  const std::int32_t time_left = game.time_left.Value();
  if (time_left <= 10) PlayEffect(ctx, Sound::kTimeRunningOut);
  if (time_left <= 0) return true;
  play.score_at_last_second = game.score.Value();
  return false;
}

void ScoreFloor(GameContext& ctx) {
  if (ctx.game.score.Value() < kScoreFloor) ctx.game.score.SetValue(kScoreFloor);
}

}  // namespace mw
