#pragma once
// Pictures from the assets, shared by both platforms.

#include <string_view>

#include "drawing/drawing_types.h"
#include "platform/surface.h"

namespace mw {

class TextEngine;

// The embedded BMP of that name (any case) in the given layout, scaled to
// width x height with nearest-neighbour. Throws RuntimeError.
Surface LoadImageSurface(std::string_view asset, int width, int height, PixelFormat format,
                         TextEngine* text, const LiveCount::Mark& mark);

}  // namespace mw
