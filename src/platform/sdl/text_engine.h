#pragma once
// Fonts and rendered strings for Surface::DrawText. The platform owns one
// engine; it must outlive the surfaces it serves (they never touch it when
// they are destroyed).

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>

#include "drawing/drawing_types.h"

namespace mw {

class TextEngine {
 public:
  TextEngine();
  ~TextEngine();
  TextEngine(const TextEngine&) = delete;
  TextEngine& operator=(const TextEngine&) = delete;

  // Draws Windows-1252 text with its top-left at (x, y), anti-aliased; on the
  // back colour (the whole text box) when not transparent.
  void Draw(SDL_Surface* target, int x, int y, const Font& font, Colour colour, bool transparent,
            Colour back_colour, std::string_view cp1252);

  // Width and height of the text's box in pixels.
  Point Measure(const Font& font, std::string_view cp1252);

  // Width of the text in pixels, measured without drawing it.
  int Width(const Font& font, std::string_view cp1252);
  // Distance from one line of the font to the next, in pixels.
  int LineHeight(const Font& font) { return TTF_FontLineSkip(FontFor(font)); }

  // The font's pixel size for a size in points at 96 dpi.
  static int PixelSize(int points);

  std::size_t CachedCount() const { return cache_.size(); }
  std::size_t FontCount() const { return fonts_.size(); }
  // Lets go of every rendered text; the next draw renders them anew, alike.
  void ForgetRenderedTexts();

 private:
  using FontKey = std::tuple<bool, bool, int>;  // serif, bold, pixel size
  TTF_Font* FontFor(const Font& font);
  SDL_Surface* Rendered(const Font& font, Colour colour, std::string_view cp1252);

  struct CachedText {
    SDL_Surface* surface = nullptr;  // ARGB, blended onto the target
    std::uint64_t last_use = 0;
  };
  std::map<FontKey, TTF_Font*> fonts_;
  std::unordered_map<std::string, CachedText> cache_;
  std::uint64_t uses_ = 0;
};

}  // namespace mw
