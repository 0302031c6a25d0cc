#pragma once
// The rules of one game: its preparation and set-up, and the phases of one
// frame in frame order, each in the file named beside it. They change the
// state and ask the loop for sounds and log lines through the Outbox; what a
// frame shows is drawn afterwards from the state (draw_game.h).

#include <cstdint>
#include <string_view>

#include "game/game_state.h"
#include "input/input_frame.h"
#include "platform/outside.h"
#include "shared/outbox.h"
#include "shared/session.h"

namespace mw {

// Everything a phase of a frame works on.
struct GameContext {
  RunGameState& game;
  OneGameState& play;
  Outbox& out;
};

// game_setup.cpp: the state taken from the settings when a game is chosen,
// and the play screen's set-up at the clock of its first input sample. The
// set-up asks for the sound device and throws RuntimeError
// ("Audiohardware nicht gefunden !") when there is none.
void PrepareGame(const Session& session, RunGameState& game);
void SetUpGame(RunGameState& game, OneGameState& play, std::int64_t now, Outside& outside);

// game_frame.cpp: one frame's rules with the pass's input; false when the
// time ran out in it (the frame is then not shown).
bool StepFrame(GameContext& ctx, const InputFrame& input);
// The event log's word for why a game ended.
std::string_view EndReason(GameEnd end);

// pace.cpp: whether this frame is a game step, and the pace after the score.
void DecideStep(GameContext& ctx, std::int64_t now);
void AdjustPace(GameContext& ctx, std::int32_t score_now, std::int32_t score_then);

// scrolling.cpp: the view follows the mouse at the edges and the arrow keys.
void Scroll(GameContext& ctx, const InputFrame& input);

// weapons.cpp: weapon keys, shots, the wiper, reload.
void WeaponPhase(GameContext& ctx, const InputFrame& input);
// The forced wipe after a splat (run by the gull phase).
void ForcedWipe(GameContext& ctx);

// gulls.cpp: move, replace and hit-test every gull.
void GullPhase(GameContext& ctx);
// A gull made anew (draws X, Y and both drifts from the generator, in that
// order): far away when it replaces one, staggered at the set-up.
Gull MakeGull(GameRandom& random, std::int16_t distance, std::int16_t frame);

// ship.cpp: move and hit-test the ship; a ship made anew at the left.
void ShipPhase(GameContext& ctx);
void NewShip(RunGameState& game);
// Ship mode (the third to the 34th ship hit): ships earn, gulls cost.
bool ShipModeActive(const RunGameState& game);

// messages.cpp: a floating message starts in the ring of slots 0..9; every
// frame shows the living ones, then they rise and age. A positive x is a
// panorama column, so the message scrolls with the view; any other x stays
// at screen column -x.
void ShowMessage(GameContext& ctx, std::int32_t x, std::int32_t y, std::string_view text);
// Messages that stay put start in this row, just above the HUD.
constexpr std::int32_t kFixedMessageY = 420;
// A change of weapon or mode, a forced wipe or a word on the pace: at screen
// column 110 of that row.
void Announce(GameContext& ctx, std::string_view text);
void MessagePhase(GameContext& ctx);

// game_clock.cpp: the once-per-second step (true when the time ran out), and
// the score's floor.
bool ClockStep(GameContext& ctx, std::int64_t now);
void ScoreFloor(GameContext& ctx);

// sounds.cpp: plays an effect on the next channel of the ring.
void PlayEffect(GameContext& ctx, Sound effect);

}  // namespace mw
