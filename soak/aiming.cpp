#include "soak/aiming.h"

#include "game/screen_geometry.h"

namespace mw {

bool AimableOnScreen(Point p) {
  const bool on_wiper = p.x > 160 && p.x < 380 && p.y > 440;
  return p.x >= 10 && p.x <= 630 && p.y >= 0 && p.y <= 479 && !on_wiper;
}

std::optional<Point> NearestGullInView(const RunGameState& game, int min_distance) {
  std::optional<Point> best;
  int best_distance = 1000;
  for (std::size_t i = 1; i < game.gulls.size(); ++i) {
    const Gull& g = game.gulls[i];
    if (g.frame == 0 || g.distance < min_distance || g.distance >= best_distance) continue;
    const Rect r = GullRect(game, g);
    const Point middle{(r.left + r.right) / 2 - kGameScreenOrigin.x,
                       (r.top + r.bottom) / 2 - kGameScreenOrigin.y};
    if (!AimableOnScreen(middle)) continue;
    best = middle;
    best_distance = g.distance;
  }
  return best;
}

std::optional<Point> ShipInView(const RunGameState& game) {
  if (game.ship_sinking != 0 || game.ship_distance <= 0) return std::nullopt;
  const Rect r = ShipRect(game);
  // High on the hull, so even the nearest lane's ship is aimed at on screen.
  const Point p{(r.left + r.right) / 2 - kGameScreenOrigin.x,
                r.top + 30 / game.ship_distance - kGameScreenOrigin.y};
  return AimableOnScreen(p) ? std::optional<Point>(p) : std::nullopt;
}

}  // namespace mw
