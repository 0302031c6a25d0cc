#pragma once
// The picture as the canvas takes it: RGBA bytes, made from the display's
// 16-bit pixels through a table of all 65536 colours. The table is filled by
// SDL's own conversion to 8-bit RGB, as the pictures a headless run writes,
// so the canvas shows the same pixels; a lookup per pixel costs a tenth of
// that conversion followed by a pass to add the alpha.

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace mw {

class CanvasPixels {
 public:
  // Throws RuntimeError when SDL cannot make the table.
  CanvasPixels(std::uint32_t sdl_format, int width, int height);

  // The picture's pixels, which must be width x height of the format given.
  void Convert(const SDL_Surface& picture);
  // width * height * 4 bytes, R G B A, the alpha opaque.
  const std::uint8_t* Rgba() const { return reinterpret_cast<const std::uint8_t*>(rgba_.data()); }

 private:
  int width_;
  int height_;
  std::vector<std::uint32_t> colours_;  // RGBA of each 16-bit pixel, in memory order
  std::vector<std::uint32_t> rgba_;
};

}  // namespace mw
