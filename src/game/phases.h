#pragma once
// The game's entry points and the phases of one frame, in frame order. Each
// phase lives in the file named beside it.

#include <cstdint>
#include <string_view>

#include "game/game_state.h"

namespace mw {

// run_game.cpp: prepares a game from the settings and runs it to its end.
// Returns why the game ended.
GameEnd StartGame(Platform& platform, Session& session, GameState& game);
void RunGame(GameContext& ctx);
// One pass of the frame loop with the pass's input; false once the game has
// ended (ctx.play.End).
bool RunFrame(GameContext& ctx, InputFrame input);
// All four bounds inclusive.
bool PointInRect(const Rect& r, std::int32_t x, std::int32_t y);
// The pieces StartGame and RunGame are made of, so a test can run a game one
// frame at a time: the state taken from the settings, the play screen's
// set-up (images, sounds, gulls, view, clock start) and its teardown.
void PrepareGame(Session& session, GameState& game);
void SetUpGame(GameContext& ctx, std::int64_t now);
void TearDownGame(GameContext& ctx);

// game_images.cpp
void MakeGameBackBuffer(Platform& platform, GameState& game);
void LoadGameImages(Platform& platform, GameState& game);

// sounds.cpp: opens the device (false when there is none) and loads the effects.
bool OpenSounds(Platform& platform, GameState& game);
// Plays the effect; the event log names it by its number.
void PlayEffect(GameContext& ctx, Sound effect);

// weapons.cpp: weapon keys, shots, the wiper, reload.
void WeaponPhase(GameContext& ctx, const InputFrame& input);
// The forced wipe after a splat (run by the gull phase).
void ForcedWipe(GameContext& ctx);

// gulls.cpp: move, replace, hit-test and draw every gull.
void GullPhase(GameContext& ctx);
// A gull made anew far away (draws X, Y, DriftX from the generator).
void NewGull(GameState& game, Gull& g);

// ship.cpp: move, draw and hit-test the ship.
void ShipPhase(GameContext& ctx);

// splats.cpp: the splats on the windscreen.
void DrawSplats(GameContext& ctx);
// hud.cpp: texts, cartridges, wiper label, crosshair, Flip.
void DrawHud(GameContext& ctx);
void DrawCrosshairAndFlip(GameContext& ctx, Point mouse);

// messages.cpp
void ShowMessage(GameContext& ctx, std::int32_t x, std::int32_t y, std::string_view text);
void MessagePass(GameContext& ctx);

// game_clock.cpp: the once-per-second step; true when the time ran out.
bool ClockStep(GameContext& ctx, std::int64_t now);
void ScoreFloor(GameContext& ctx);
void AdjustPace(GameContext& ctx, std::int32_t score_now, std::int32_t score_then);

}  // namespace mw
