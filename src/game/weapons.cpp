// The weapon phase: weapon keys, the rifle and the machine gun, the wiper
// button and the reload. It only decides whether and where a shot is fired;
// the gulls and the ship test it later in the same frame.

#include <string>

#include "errors/runtime_error.h"
#include "game/frame_rules.h"
#include "game/score_change.h"
#include "game/screen_geometry.h"

namespace mw {
namespace {

// Where the costs of the wiper and of shots show, in the row of fixed messages.
constexpr std::int32_t kWiperCostX = -300;
constexpr std::int32_t kShotCostX = -600;

bool InWiperButton(Point p) {
  const Rect& button = kWiperButton;
  return p.x > button.left && p.x < button.right && p.y > button.top && p.y < button.bottom;
}

void UseWiper(GameContext& ctx) {
  ctx.game.splat_count = 0;
  ctx.play.wiper_flashed = true;  // this frame's sea shows the flash
  ChangeScore(ctx.game, -50);
  ShowMessage(ctx, kWiperCostX, kFixedMessageY, "-50");
}

void SelectWeapon(GameContext& ctx, const InputFrame& input) {
  RunGameState& game = ctx.game;
  // Key 2 counts only when key 1 changed nothing, so both keys held together
  // switch back and forth in every play.
  if (input.Down(vk::kKey1) && game.weapon != 1) {
    game.weapon = 1;
    Announce(ctx, "- Gewehr -");
    game.cartridges.SetValue(game.saved_cartridges.Value());
  } else if (input.Down(vk::kKey2) && game.weapon != 2) {
    game.weapon = 2;
    Announce(ctx, "- Maschinengewehr -");
    game.saved_cartridges.SetValue(game.cartridges.Value());
    game.cartridges.SetValue(0);
  }
}

void FireRifle(GameContext& ctx, bool left_down, Point mouse) {
  RunGameState& game = ctx.game;
  OneGameState& play = ctx.play;
  if (!left_down || play.left_held) return;
  game.shot_pos = mouse;
  if (InWiperButton(game.shot_pos)) {
    UseWiper(ctx);
  } else if (game.cartridges.Value() > 0) {
    play.shot_fired = true;
    PlayEffect(ctx, Sound::kShot);
    game.cartridges.SetValue(game.cartridges.Value() - 1);
  } else {
    PlayEffect(ctx, Sound::kEmptyRifle);
  }
  play.left_held = true;
}

void FireMachineGun(GameContext& ctx, bool left_down, Point mouse) {
  RunGameState& game = ctx.game;
  OneGameState& play = ctx.play;
  if (!left_down) return;
  game.shot_pos = mouse;  // the aim follows the mouse
  if (InWiperButton(game.shot_pos) && !play.left_held) {
    UseWiper(ctx);
  } else if (play.step_due) {
    const std::int32_t every = game.mg_steps_per_shot.Value();
    if (every == 0) throw DivisionByZero();
    game.mg_counter = ToByte((game.mg_counter + 1) % every);
    if (game.mg_counter == 0) {
      play.shot_fired = true;
      PlayEffect(ctx, Sound::kShot);
      ChangeScore(game, -1);
      ShowMessage(ctx, kShotCostX, kFixedMessageY, "-1");
    }
  }
  play.left_held = true;
}

void Reload(GameContext& ctx, bool right_down) {
  RunGameState& game = ctx.game;
  OneGameState& play = ctx.play;
  if (!right_down) {
    play.right_held = false;
    return;
  }
  if (game.weapon != 1) return;
  // Only an empty rifle reloads, and only once per press.
  if (game.cartridges.Value() == 0 && !play.right_held) {
    game.cartridges.SetValue(kRifleMagazine);
    ChangeScore(game, -kRifleMagazine);
    ShowMessage(ctx, kShotCostX, kFixedMessageY, std::to_string(-kRifleMagazine));
    PlayEffect(ctx, Sound::kReload);
  }
  play.right_held = true;
}

}  // namespace

void WeaponPhase(GameContext& ctx, const InputFrame& input) {
  // A shot counts only in the frame in which it is fired, for both weapons;
  // otherwise an old machine-gun aim point would keep hitting gulls that fly
  // into it after the trigger is released.
  ctx.play.shot_fired = false;
  ctx.play.wiper_flashed = false;
  SelectWeapon(ctx, input);
  // A click shorter than a frame still counts.
  const bool left_down = input.Down(vk::kLeftButton);
  if (!left_down) ctx.play.left_held = false;
  if (ctx.game.weapon == 1) {
    FireRifle(ctx, left_down, input.mouse);
  } else if (ctx.game.weapon == 2) {
    FireMachineGun(ctx, left_down, input.mouse);
  }
  Reload(ctx, input.Down(vk::kRightButton));
}

void ForcedWipe(GameContext& ctx) {
  RunGameState& game = ctx.game;
  if (game.splat_count <= kMaxSplats) return;
  game.splat_count = 0;
  ChangeScore(game, -200);
  Announce(ctx, "-200 Zwangsscheibenwischer");
}

}  // namespace mw
