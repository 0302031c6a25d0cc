#pragma once
// Whether memory piles up from game to game in a long run. The first game is
// left out: it opens the fonts and fills caches and pools once.

#include <string>
#include <vector>

#include "soak/soak_bot.h"

namespace mw {

// The most the heap in use may grow per game, along the least-squares line
// through the ends of the games after the first. Within a run the heap at a
// game's end varies by a few hundred bytes; a leak of a surface (600 KB for a
// picture) or of a sound shows at once.
constexpr double kMaxHeapGrowthPerGame = 4096;

// The slope of the least-squares line through (0, v0), (1, v1), ...; 0 for
// fewer than two values.
double LeastSquaresSlope(const std::vector<double>& values);

// What grew, one line each; empty when nothing did or when fewer than three
// games were played (two ends after the first are the least to judge by).
// The heap in use must not grow by more than kMaxHeapGrowthPerGame a game,
// and every game after the first must end holding the surfaces, textures,
// sounds and fonts the second one did. The resident size is not judged.
std::vector<std::string> MemoryProblems(const std::vector<SoakGame>& games);

}  // namespace mw
