#include "game/screen_geometry.h"

#include "shared/numbers.h"

namespace mw {

Rect PanoramaInView(const RunGameState& game) {
  const std::int32_t view_x = game.view_x.Value();
  return Rect{view_x, 0, view_x + 640, 480};
}

Rect GullRect(const RunGameState& game, const Gull& gull) {
  const double scale = gull.distance * 0.25 + 0.5;
  const std::int32_t left =
      ToInt32(std::int64_t{gull.x} + 960 - game.view_x.Value() + kGameScreenOrigin.x);
  const std::int32_t top = gull.y + 240 + kGameScreenOrigin.y;
  return Rect{left, top, RoundToInt32(left + 100 / scale), RoundToInt32(top + 50 / scale)};
}

Rect ShipRect(const RunGameState& game, std::int16_t sinking) {
  const double d = game.ship_distance;
  const double s = sinking;
  const std::int32_t left =
      ToInt32(std::int64_t{game.ship_x} - game.view_x.Value() + kGameScreenOrigin.x);
  return Rect{left, RoundToInt32(530 - 80 * d + 2 * s / d), RoundToInt32(left + 2 * (200 / d)),
              RoundToInt32(530 - 80 * d + 2 * (100 / d))};
}

Rect ShipPictureRect(std::int16_t sinking) {
  return Rect{0, 0, 200, 100 - sinking};
}

}  // namespace mw
