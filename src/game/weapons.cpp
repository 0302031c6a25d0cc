// The weapon phase: weapon keys, the rifle and the machine gun, the wiper
// button and the reload. It only decides whether and where a shot is fired;
// the gulls and the ship test it later in the same play.

#include "game/phases.h"
#include "game/score_change.h"
#include "platform/runtime_error.h"

namespace mw {
namespace {

constexpr std::int32_t kMagazine = 8;
// Raw pixel value of the one-frame flash that shows the wipe.
constexpr std::uint32_t kWipeFlash = 240;

// The wiper button under the "Scheibenwischer" label; all four bounds exclusive.
bool InWiperButton(Point p) {
  return p.x > 170 && p.x < 370 && p.y > 450 && p.y < 480;
}

void UseWiper(GameContext& ctx) {
  ctx.game.SplatCount = 0;
  // Drawn over this frame's sea, before gulls, ship and texts: a flash.
  ctx.game.BackBuffer.FillRect(Rect{}, kWipeFlash);  // the whole BackBuffer
  ChangeScore(ctx.game, -50);
  ShowMessage(ctx, -300, 420, "-50");
}

void SelectWeapon(GameContext& ctx, const InputFrame& input) {
  GameState& game = ctx.game;
  // Key 2 counts only when key 1 changed nothing, so both keys held together
  // switch back and forth in every play.
  if (input.Down(vk::kKey1) && game.Weapon != 1) {
    game.Weapon = 1;
    ShowMessage(ctx, -110, 420, "- Gewehr -");
    game.Cartridges.SetValue(game.SavedCartridges.Value());
  } else if (input.Down(vk::kKey2) && game.Weapon != 2) {
    game.Weapon = 2;
    ShowMessage(ctx, -110, 420, "- Maschinengewehr -");
    game.SavedCartridges.SetValue(game.Cartridges.Value());
    game.Cartridges.SetValue(0);
  }
}

void FireRifle(GameContext& ctx, bool left_down, Point mouse) {
  GameState& game = ctx.game;
  PlayState& play = ctx.play;
  if (!left_down || play.LeftHeld) return;
  game.ShotPos = mouse;
  if (InWiperButton(game.ShotPos)) {
    UseWiper(ctx);
  } else if (game.Cartridges.Value() > 0) {
    play.ShotFired = true;
    PlayEffect(ctx, Sound::kShot);
    game.Cartridges.SetValue(game.Cartridges.Value() - 1);
  } else {
    PlayEffect(ctx, Sound::kEmptyRifle);
  }
  play.LeftHeld = true;
}

void FireMachineGun(GameContext& ctx, bool left_down, Point mouse) {
  GameState& game = ctx.game;
  PlayState& play = ctx.play;
  if (!left_down) return;
  game.ShotPos = mouse;  // the aim follows the mouse
  if (InWiperButton(game.ShotPos) && !play.LeftHeld) {
    UseWiper(ctx);
  } else if (play.StepDue) {
    const std::int32_t every = game.MgStepsPerShot.Value();
    if (every == 0) throw DivisionByZero();
    game.MgCounter = ToByte((game.MgCounter + 1) % every);
    if (game.MgCounter == 0) {
      play.ShotFired = true;
      PlayEffect(ctx, Sound::kShot);
      ChangeScore(game, -1);
      ShowMessage(ctx, -600, 420, "-1");
    }
  }
  play.LeftHeld = true;
}

void Reload(GameContext& ctx, bool right_down) {
  GameState& game = ctx.game;
  PlayState& play = ctx.play;
  if (!right_down) {
    play.RightHeld = false;
    return;
  }
  if (game.Weapon != 1) return;
  // Only an empty rifle reloads, and only once per press.
  if (game.Cartridges.Value() == 0 && !play.RightHeld) {
    game.Cartridges.SetValue(kMagazine);
    ChangeScore(game, -kMagazine);
    ShowMessage(ctx, -600, 420, "-8");
    PlayEffect(ctx, Sound::kReload);
  }
  play.RightHeld = true;
}

}  // namespace

void WeaponPhase(GameContext& ctx, const InputFrame& input) {
  // A shot counts only in the frame in which it is fired, for both weapons;
  // otherwise an old machine-gun aim point would keep hitting gulls that fly
  // into it after the trigger is released.
  ctx.play.ShotFired = false;
  SelectWeapon(ctx, input);
  // A click shorter than a frame still counts.
  const bool left_down = input.Down(vk::kLeftButton);
  if (!left_down) ctx.play.LeftHeld = false;
  if (ctx.game.Weapon == 1) {
    FireRifle(ctx, left_down, input.mouse);
  } else if (ctx.game.Weapon == 2) {
    FireMachineGun(ctx, left_down, input.mouse);
  }
  Reload(ctx, input.Down(vk::kRightButton));
}

void ForcedWipe(GameContext& ctx) {
  GameState& game = ctx.game;
  if (game.SplatCount <= kMaxSplats) return;
  game.SplatCount = 0;
  ChangeScore(game, -200);
  ShowMessage(ctx, -110, 420, "-200 Zwangsscheibenwischer");
}

}  // namespace mw
