#pragma once
// Where a bot aims: the middle of a flying gull or of the ship, in screen
// pixels, when it is in view and not on the wiper button.

#include <optional>

#include "game/game_state.h"

namespace mw {

bool AimableOnScreen(Point p);

// The nearest flying gull in view whose Distance is at least min_distance
// (nearer ones may be left to splat).
std::optional<Point> NearestGullInView(const RunGameState& game, int min_distance);

// The afloat ship, when it is in view.
std::optional<Point> ShipInView(const RunGameState& game);

}  // namespace mw
