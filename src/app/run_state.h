#pragma once
// Everything the program keeps for its run, made once and handed to every
// screen by reference: the settings and flags, and the game that carries
// over from one game to the next.

#include <string>

#include "game/game_state.h"
#include "shared/session.h"

namespace mw {

struct RunState {
  // OEDIR as it was at start-up: the prefix of the high-score file's name.
  std::string high_score_prefix;
  Session session;
  RunGameState game;
};

}  // namespace mw
