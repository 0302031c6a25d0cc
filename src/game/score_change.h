#pragma once
// Score is a 32-bit field: a change that would leave its range is a run-time
// error, never a silent wrap-around.

#include <cstdint>

#include "game/game_state.h"
#include "shared/numbers.h"

namespace mw {

inline void ChangeScore(RunGameState& game, std::int64_t delta) {
  game.score.SetValue(ToInt32(std::int64_t{game.score.Value()} + delta));
}

}  // namespace mw
