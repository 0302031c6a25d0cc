#pragma once
// The pulsing colour of a selected line on the menu, settings and high-score
// screens.

#include <cstdint>

#include "drawing/drawing_types.h"

namespace mw {

struct Highlight {
  Colour highlight_color = Rgb(0, 254, 0);
  std::int16_t step = -5;
};

// One pass: the red component bounces between 0 and 255 in steps of 5 while
// green stays 254, so the first pass after a fresh start shows (5,254,0).
void StepHighlight(Highlight& highlight);

// The colour a line is drawn in.
inline Colour LineColour(const Highlight& highlight, bool selected) {
  return selected ? highlight.highlight_color : Rgb(255, 255, 255);
}

}  // namespace mw
