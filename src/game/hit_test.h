#pragma once
// Whether a shot hits: the aim point inside the target's rectangle, all four
// bounds inclusive (one pixel more than the picture on the right and bottom).

#include "drawing/drawing_types.h"

namespace mw {

constexpr bool AimHits(const Rect& target, Point aim) {
  return target.left <= aim.x && aim.x <= target.right && target.top <= aim.y &&
         aim.y <= target.bottom;
}

}  // namespace mw
