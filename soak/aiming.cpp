#include "soak/aiming.h"

namespace mw {

bool AimableOnScreen(Point p) {
  const bool on_wiper = p.x > 160 && p.x < 380 && p.y > 440;
  return p.x >= 10 && p.x <= 630 && p.y >= 0 && p.y <= 479 && !on_wiper;
}

std::optional<Point> NearestGullInView(const GameState& game, int min_distance) {
  std::optional<Point> best;
  int best_distance = 1000;
  for (std::size_t i = 1; i < game.Gulls.size(); ++i) {
    const Gull& g = game.Gulls[i];
    if (g.Frame == 0 || g.Distance < min_distance || g.Distance >= best_distance) continue;
    const double scale = g.Distance * 0.25 + 0.5;
    const Point middle{g.X + 960 - game.ViewX.Value() + static_cast<int>(50 / scale),
                       g.Y + 240 + static_cast<int>(25 / scale)};
    if (!AimableOnScreen(middle)) continue;
    best = middle;
    best_distance = g.Distance;
  }
  return best;
}

std::optional<Point> ShipInView(const GameState& game) {
  const int d = game.ShipDistance;
  if (game.ShipSinking != 0 || d <= 0) return std::nullopt;
  const Point p{game.ShipX - game.ViewX.Value() + 200 / d, 480 - 80 * d + 30 / d};
  return AimableOnScreen(p) ? std::optional<Point>(p) : std::nullopt;
}

}  // namespace mw
