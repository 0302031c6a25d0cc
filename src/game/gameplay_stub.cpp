// Placeholders until the weapons, the gulls and the ship land: each returns at
// once and changes nothing.
#include "game/phases.h"

namespace mw {

void WeaponPhase(GameContext& /*ctx*/) {}
void ForcedWipe(GameContext& /*ctx*/) {}
void GullPhase(GameContext& /*ctx*/) {}
void NewGull(GameState& /*game*/, Gull& /*g*/) {}
void ShipPhase(GameContext& /*ctx*/) {}

}  // namespace mw
