#pragma once
// A 16-bit software surface (5-6-5 or 5-5-5, the display's layout) with the
// drawing operations of the game: opaque and colour-keyed blits, scaled keyed
// blits, fills with a raw pixel value, and text in a style given with it.
// Every blit and fill is clipped to the target.

#include <cstdint>
#include <memory>
#include <string_view>

#include "drawing/drawing_types.h"
#include "platform/live_count.h"

struct SDL_Surface;

namespace mw {

class TextEngine;

class Surface {
 public:
  Surface() = default;  // holds nothing (a released surface)
  // The mark counts the surface among its platform's live ones.
  Surface(SDL_Surface* owned, TextEngine* text, LiveCount::Mark mark);
  Surface(Surface&& other) noexcept;
  Surface& operator=(Surface&& other) noexcept;
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  ~Surface();

  explicit operator bool() const { return surface_ != nullptr; }
  int Width() const;
  int Height() const;
  PixelFormat Format() const;

  // Raw pixel value of a colour in this surface's layout.
  std::uint32_t MapColour(Colour c) const;
  std::uint32_t PixelAt(int x, int y) const;

  // How keyed copies from a surface skip its transparent colour: by copying
  // its opaque runs (cheap for a sprite with large clear parts), or by
  // choosing pixel by pixel (cheap for a picture full of small holes).
  enum class KeyedCopy { kOpaqueRuns, kEveryPixel };
  // The raw pixel value that keyed copies from this surface skip.
  void SetTransparentColor(std::uint32_t raw, KeyedCopy copy = KeyedCopy::kOpaqueRuns);

  // Copies src's source rectangle (all-zero = whole image) with its top-left at
  // (x, y), skipping the transparent colour when keyed.
  void BlitImage(std::int32_t x, std::int32_t y, const Surface& src, Rect source, bool keyed);
  // Stretches src's source rectangle into target with nearest-neighbour,
  // skipping the transparent colour. target's right/bottom are exclusive.
  void BlitScaled(Rect target, const Surface& src, Rect source);
  // A new surface of w x h holding the source rectangle (all-zero = whole
  // image) stretched as BlitScaled stretches it, transparent where nothing
  // was drawn and keyed like this one, so a keyed BlitImage of it at a
  // target's top-left gives the pixels BlitScaled gives there. This surface
  // must have a transparent colour.
  Surface ScaledCopy(Rect source, int width, int height) const;
  // Fills the rectangle (all-zero = whole surface) with a raw pixel value.
  void FillRect(Rect r, std::uint32_t raw);
  // Every colour at half its brightness.
  void HalveBrightness();

  // Draws Windows-1252 text with its top-left at (x, y).
  void DrawText(std::int32_t x, std::int32_t y, std::string_view cp1252, const TextStyle& style);

 private:
  // Only the platform's SDL code reaches the surface behind.
  friend SDL_Surface* SdlSurfaceOf(const Surface& surface);

  void Release();

  SDL_Surface* surface_ = nullptr;
  TextEngine* text_ = nullptr;
  LiveCount::Mark mark_;
};

}  // namespace mw
