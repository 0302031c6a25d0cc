#include "game/frame_rules.h"

namespace mw {

std::string_view EndReason(GameEnd end) {
  switch (end) {
    case GameEnd::kTime:
      return "time";
    case GameEnd::kEscape:
      return "escape";
    case GameEnd::kClose:
      return "close";
    case GameEnd::kNone:
      break;
  }
  return "none";
}

bool StepFrame(GameContext& ctx, const InputFrame& input) {
  RunGameState& game = ctx.game;
  OneGameState& play = ctx.play;
  DecideStep(ctx, input.clock);
  if (play.step_due) Scroll(ctx, input);
  WeaponPhase(ctx, input);
  GullPhase(ctx);
  ShipPhase(ctx);
  MessagePhase(ctx);
  // Running out of time ends the frame here: the screen keeps the last one.
  if (ClockStep(ctx, input.clock)) return false;
  ScoreFloor(ctx);
  AdjustPace(ctx, game.score.Value(), play.score_at_last_second);
  // The crosshair follows the mouse in every frame shown.
  game.cursor_pos = input.mouse;
  ++play.frame_count;
  return true;
}

}  // namespace mw
