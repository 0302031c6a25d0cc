#include "soak/memory_trend.h"

#include <cstdio>

namespace mw {
namespace {

std::string Kilobytes(double bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f KB", bytes / 1024.0);
  return text;
}

std::string Described(const LiveResources& live) {
  return std::to_string(live.surfaces) + " surfaces, " + std::to_string(live.textures) +
         " textures, " + std::to_string(live.sounds) + " sounds, " + std::to_string(live.fonts) +
         " fonts";
}

bool SameHoldings(const LiveResources& a, const LiveResources& b) {
  // The text cache is bounded and holds what the game last wrote: not judged.
  return a.surfaces == b.surfaces && a.textures == b.textures && a.sounds == b.sounds &&
         a.fonts == b.fonts;
}

}  // namespace

double LeastSquaresSlope(const std::vector<double>& values) {
  const auto n = static_cast<double>(values.size());
  if (values.size() < 2) return 0;
  double mean_x = 0;
  double mean_y = 0;
  for (std::size_t i = 0; i < values.size(); ++i) {
    mean_x += static_cast<double>(i);
    mean_y += values[i];
  }
  mean_x /= n;
  mean_y /= n;
  double covariance = 0;
  double variance = 0;
  for (std::size_t i = 0; i < values.size(); ++i) {
    const double dx = static_cast<double>(i) - mean_x;
    covariance += dx * (values[i] - mean_y);
    variance += dx * dx;
  }
  return covariance / variance;
}

std::vector<std::string> MemoryProblems(const std::vector<SoakGame>& games) {
  std::vector<std::string> problems;
  if (games.size() < 3) return problems;
  std::vector<double> heap;
  for (std::size_t i = 1; i < games.size(); ++i) {
    heap.push_back(static_cast<double>(games[i].heap_end));
  }
  const double slope = LeastSquaresSlope(heap);
  if (slope > kMaxHeapGrowthPerGame) {
    std::string ends;
    for (const double bytes : heap) ends += (ends.empty() ? "" : ", ") + Kilobytes(bytes);
    problems.push_back("the heap in use grows by " + Kilobytes(slope) + " a game (at most " +
                       Kilobytes(kMaxHeapGrowthPerGame) + "; ends of games 2 to " +
                       std::to_string(games.size()) + ": " + ends + ")");
  }
  for (std::size_t i = 2; i < games.size(); ++i) {
    if (!SameHoldings(games[i].live_end, games[1].live_end)) {
      problems.push_back("game " + std::to_string(i + 1) + " ended holding " +
                         Described(games[i].live_end) + ", game 2 " + Described(games[1].live_end));
      break;
    }
  }
  return problems;
}

}  // namespace mw
