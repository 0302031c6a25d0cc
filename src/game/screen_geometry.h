#pragma once
// Where things stand on the play screen. The game draws into an 840x580
// BackBuffer of which (100,50)-(740,530) is shown, so screen pixel (x, y) is
// BackBuffer pixel (x + 100, y + 50). Game, benchmark, bot and tests take the
// rectangles of gulls and ship from here.

#include "drawing/drawing_types.h"
#include "game/game_state.h"

namespace mw {

// The game's BackBuffer: wider and higher than the screen, so gulls and the
// ship can be drawn partly outside it.
constexpr int kGameBackBufferWidth = 840;
constexpr int kGameBackBufferHeight = 580;
// Screen pixel (0, 0) in the BackBuffer.
inline constexpr Point kGameScreenOrigin{100, 50};
// The part of the BackBuffer that is shown.
inline constexpr Rect kGameVisibleRect{100, 50, 740, 530};

// The wiper button, in screen pixels: its label starts at the top-left
// corner, and a click counts strictly inside (all four bounds exclusive).
inline constexpr Rect kWiperButton{170, 450, 370, 480};

// The mouse scrolls the view left of this screen column and right of that.
constexpr std::int32_t kScrollLeftBelow = 10;
constexpr std::int32_t kScrollRightAbove = 630;

inline Point GameScreenToBackBuffer(Point screen) {
  return {screen.x + kGameScreenOrigin.x, screen.y + kGameScreenOrigin.y};
}

// The panorama's columns in view: 640 from ViewX, all 480 rows.
Rect PanoramaInView(const RunGameState& game);

// A flying gull in the BackBuffer: about 100 x 50 pixels scaled by
// 1 / (Distance / 4 + 1/2), its top-left at panorama (X + 960, Y + 240).
Rect GullRect(const RunGameState& game, const Gull& gull);

// The ship in the BackBuffer, scaled by 2 / lane with its waterline fixed;
// while it sinks (5 to 95) its top comes down.
Rect ShipRect(const RunGameState& game, std::int16_t sinking);
inline Rect ShipRect(const RunGameState& game) {
  return ShipRect(game, game.ship_sinking);
}
// The part of the ship's picture shown: a sinking ship loses its bottom rows.
Rect ShipPictureRect(std::int16_t sinking);

}  // namespace mw
