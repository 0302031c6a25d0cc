#include "shared/highlight.h"

namespace mw {

void StepHighlight(Highlight& highlight) {
  if (highlight.HighlightColor == Rgb(255, 254, 0) || highlight.HighlightColor == Rgb(0, 254, 0)) {
    highlight.Step = static_cast<std::int16_t>(-highlight.Step);
  }
  highlight.HighlightColor =
      static_cast<Colour>(static_cast<std::int64_t>(highlight.HighlightColor) + highlight.Step);
}

}  // namespace mw
