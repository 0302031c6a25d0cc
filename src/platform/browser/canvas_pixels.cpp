#include "platform/browser/canvas_pixels.h"

#include <cstring>

#include "errors/runtime_error.h"
#include "platform/sdl/sdl_surfaces.h"

namespace mw {

CanvasPixels::CanvasPixels(std::uint32_t sdl_format, int width, int height)
    : width_(width), height_(height), colours_(65536), rgba_(std::size_t(width) * height) {
  std::vector<std::uint16_t> every(65536);
  for (std::size_t i = 0; i < every.size(); ++i) every[i] = static_cast<std::uint16_t>(i);
  std::vector<std::uint8_t> rgb(every.size() * 3);
  if (SDL_ConvertPixels(256, 256, sdl_format, every.data(), 256 * 2, SDL_PIXELFORMAT_RGB24,
                        rgb.data(), 256 * 3) != 0) {
    throw RuntimeError(WithSdlError("Das Bild kann nicht gezeigt werden"));
  }
  for (std::size_t i = 0; i < colours_.size(); ++i) {
    const std::uint8_t bytes[4] = {rgb[i * 3], rgb[i * 3 + 1], rgb[i * 3 + 2], 255};
    std::memcpy(&colours_[i], bytes, sizeof bytes);
  }
}

void CanvasPixels::Convert(const SDL_Surface& picture) {
  std::uint32_t* out = rgba_.data();
  for (int y = 0; y < height_; ++y) {
    const auto* row = reinterpret_cast<const std::uint16_t*>(
        static_cast<const std::uint8_t*>(picture.pixels) + std::size_t(y) * picture.pitch);
    for (int x = 0; x < width_; ++x) *out++ = colours_[row[x]];
  }
}

}  // namespace mw
