#pragma once
// The texts of the play screen's HUD, apart from their drawing.

#include <cstdint>
#include <string>

#include "drawing/drawing_types.h"

namespace mw {

// Whole minutes, ":", seconds as two digits: 90 -> "1:30", 720 -> "12:00".
std::string ClockText(std::int32_t time_left);
// Black while more than ten seconds are left, red in the last ten.
Colour ClockColour(std::int32_t time_left);
// The score ends near the right edge: 15 pixels a character from x 740.
std::int32_t ScoreTextX(const std::string& score_text);

}  // namespace mw
