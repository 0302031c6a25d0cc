// The game's pace: frames come as fast as the screen shows them, but the game
// moves on (gulls, the ship, scrolling, the machine gun) only on game steps,
// at least StepInterval milliseconds apart; the score of the last second can
// change that interval.

#include "game/frame_rules.h"

namespace mw {

void DecideStep(GameContext& ctx, std::int64_t now) {
  OneGameState& play = ctx.play;
  play.step_due = now > play.last_step_tick + ctx.game.step_interval.Value();
  if (play.step_due) play.last_step_tick = now;
}

void AdjustPace(GameContext& ctx, std::int32_t score_now, std::int32_t score_then) {
  const std::int64_t gain = static_cast<std::int64_t>(score_now) - score_then;
  if (gain >= 200) {
    ctx.game.step_interval.SetValue(10);
    Announce(ctx, "- Das ist Ihnen wohl zu leicht -");
  }
  if (-gain >= 300) {
    ctx.game.step_interval.SetValue(100);
    Announce(ctx, "- Es geht um Pluspunkte!!! -");
  }
}

}  // namespace mw
