#pragma once
// The play screen drawn from the state of a frame, after its rules ran: the
// panorama (or the wiper's flash), the gulls, the ship, the splats, the
// floating messages, the HUD and the crosshair, in that order, into the
// game's BackBuffer. Reads the state only; the pictures' splat layer is a
// cache of what the splats look like.

#include "game/game_pictures.h"
#include "game/game_state.h"

namespace mw {

// The whole frame; its visible part is kGameVisibleRect.
void DrawGame(const RunGameState& game, const OneGameState& play, GamePictures& pictures);

// The parts, in the order DrawGame draws them (the benchmark times each).
void DrawSea(const RunGameState& game, const OneGameState& play, GamePictures& pictures);
void DrawGulls(const RunGameState& game, GamePictures& pictures);
void DrawShip(const RunGameState& game, const OneGameState& play, GamePictures& pictures);
void DrawSplats(const RunGameState& game, GamePictures& pictures);
void DrawMessages(const OneGameState& play, GamePictures& pictures);
void DrawHud(const RunGameState& game, const OneGameState& play, GamePictures& pictures);
void DrawCrosshair(const RunGameState& game, GamePictures& pictures);

}  // namespace mw
