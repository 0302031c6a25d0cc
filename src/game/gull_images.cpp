#include <array>

#include "errors/runtime_error.h"
#include "game/game_state.h"

namespace mw {

const Surface& GullImage(const GameState& game, int frame) {
  // Frames 1..8 are one wing beat over five pictures: 7 8 9 8 7 10 11 10.
  static constexpr std::array<int, 9> kPicture{0, 1, 2, 3, 2, 1, 4, 5, 4};
  if (frame < 0 || frame > 8) throw IndexOutOfRange();
  return game.gull_pictures[static_cast<std::size_t>(kPicture[static_cast<std::size_t>(frame)])];
}

}  // namespace mw
