#include "errors/runtime_error.h"
#include "game/frame_rules.h"

namespace mw {
namespace {

constexpr std::int32_t kViewXStart = 640;

void PlaceStartingGulls(RunGameState& game) {
  // The staggered distances spread the first arrivals: the first twelve
  // gulls start behind the viewer and are replaced in the first frame.
  for (std::size_t i = 1; i < game.gulls.size(); ++i) {
    game.gulls[i] = MakeGull(game.random, ToInt16(2 * static_cast<std::int64_t>(i) - 25), 1);
  }
}

}  // namespace

void PrepareGame(const Session& session, RunGameState& game) {
  game.time_left.SetValue(SettingValue(session, kGameTime));
  game.step_interval.SetValue(SettingValue(session, kGameSpeed));
  game.mg_steps_per_shot.SetValue(SettingValue(session, kMachineGunSpeed));
  game.splat_count = 0;
  game.splat_one_in.SetValue(5);
  game.score.SetValue(0);
  for (MessageSlot& slot : game.messages) slot.life = 0;
  const std::int32_t gull_count = SettingValue(session, kGullCount);
  if (gull_count < 0) throw IndexOutOfRange();
  game.gulls.assign(static_cast<std::size_t>(gull_count) + 1, Gull{});
}

void SetUpGame(RunGameState& game, OneGameState& play, std::int64_t now, Outside& outside) {
  // The effects are set up anew for every game.
  if (!outside.OpenSoundDevice()) throw RuntimeError("Audiohardware nicht gefunden !");
  PlaceStartingGulls(game);
  NewShip(game);
  game.view_x.SetValue(kViewXStart);
  game.cartridges.SetValue(kRifleMagazine);
  game.weapon = 1;
  play.start_tick = now;
}

}  // namespace mw
