#include "shared/highlight.h"

namespace mw {

void StepHighlight(Highlight& highlight) {
  if (highlight.highlight_color == Rgb(255, 254, 0) ||
      highlight.highlight_color == Rgb(0, 254, 0)) {
    highlight.step = static_cast<std::int16_t>(-highlight.step);
  }
  highlight.highlight_color =
      static_cast<Colour>(static_cast<std::int64_t>(highlight.highlight_color) + highlight.step);
}

}  // namespace mw
