#pragma once
// The plain value types of drawing: colours, points, rectangles, fonts and
// the 16-bit pixel layouts.

#include <cstdint>
#include <string>

namespace mw {

// The picture on screen, whatever the window's size: 640x480 pixels.
constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 480;

// 32-bit RGB colour with red in the low byte (r + 256 g + 65536 b).
using Colour = std::uint32_t;

constexpr Colour Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
constexpr std::uint32_t RedOf(Colour c) {
  return c & 0xFF;
}
constexpr std::uint32_t GreenOf(Colour c) {
  return (c >> 8) & 0xFF;
}
constexpr std::uint32_t BlueOf(Colour c) {
  return (c >> 16) & 0xFF;
}

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const Point&) const = default;
};

// left, top, right, bottom; right and bottom are exclusive for blits and fills.
// The all-zero rectangle means the whole image (as a source) or the whole
// surface (as a fill target).
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  bool operator==(const Rect&) const = default;
  bool IsWhole() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
};

// A pixel inside a rectangle of pixels: right and bottom are the first
// columns and rows outside, as for blits and fills.
constexpr bool PixelInRect(const Rect& r, Point p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// A font as the game asks for it: "Arial" or "Times New Roman", size in
// points at 96 dpi.
struct Font {
  std::string name = "Arial";
  int size = 20;
  bool bold = false;
  bool operator==(const Font&) const = default;
};

// How a text is drawn: its font and colour, and on a box of the back colour
// when it is opaque.
struct TextStyle {
  Font font;
  Colour colour = 0;
  bool opaque = false;
  Colour back_colour = 0;
};

// Bit masks of a 16-bit pixel layout (5-6-5 or 5-5-5).
struct PixelFormat {
  std::uint32_t red_mask = 0xF800;
  std::uint32_t green_mask = 0x07E0;
  std::uint32_t blue_mask = 0x001F;
  bool operator==(const PixelFormat&) const = default;
};

constexpr PixelFormat kRgb565{0xF800, 0x07E0, 0x001F};
constexpr PixelFormat kRgb555{0x7C00, 0x03E0, 0x001F};

}  // namespace mw
