#include "platform/sdl/text_engine.h"

#include <algorithm>

#include "embedded/embedded_files.h"
#include "errors/runtime_error.h"
#include "platform/sdl/sdl_surfaces.h"
#include "text/cp1252.h"

namespace mw {
namespace {

// Enough for every string of a screen; the least recently used goes first.
constexpr std::size_t kCacheLimit = 256;

}  // namespace

TextEngine::TextEngine() {
  if (TTF_Init() != 0) throw RuntimeError(WithSdlError("Die Schriftausgabe startet nicht"));
}

TextEngine::~TextEngine() {
  ForgetRenderedTexts();
  for (auto& [key, font] : fonts_) TTF_CloseFont(font);
  TTF_Quit();
}

void TextEngine::ForgetRenderedTexts() {
  for (auto& [key, entry] : cache_) SDL_FreeSurface(entry.surface);
  cache_.clear();
}

int TextEngine::PixelSize(int points) {
  // 96 dpi: 20 pt -> 27 px; rounded half up.
  const int clamped = std::clamp(points, 1, 500);
  return (clamped * 96 * 2 + 72) / (72 * 2);
}

TTF_Font* TextEngine::FontFor(const Font& font) {
  // The game asks for Windows faces; Liberation has the same metrics.
  const bool serif = SameNameIgnoringCase(font.name, "Times New Roman");
  const FontKey key{serif, font.bold, PixelSize(font.size)};
  if (auto it = fonts_.find(key); it != fonts_.end()) return it->second;

  const std::string file = std::string(serif ? "LiberationSerif-" : "LiberationSans-") +
                           (font.bold ? "Bold.ttf" : "Regular.ttf");
  const EmbeddedFile* embedded = FindEmbeddedFile(file);
  if (embedded == nullptr) throw RuntimeError("Die Schrift " + file + " fehlt im Programm");
  SDL_RWops* rw = SDL_RWFromConstMem(embedded->data, static_cast<int>(embedded->size));
  TTF_Font* opened = rw != nullptr ? TTF_OpenFontRW(rw, 1, std::get<2>(key)) : nullptr;
  if (opened == nullptr) {
    throw RuntimeError(WithSdlError("Die Schrift " + file + " kann nicht geladen werden"));
  }
  fonts_.emplace(key, opened);
  return opened;
}

SDL_Surface* TextEngine::Rendered(const Font& font, Colour colour, std::string_view cp1252) {
  TTF_Font* ttf = FontFor(font);
  std::string key;
  key.reserve(cp1252.size() + 24);
  key += font.name;
  key += '\0';
  key += std::to_string(font.size) + (font.bold ? "b" : "r") + std::to_string(colour) + '\0';
  key += cp1252;
  if (auto it = cache_.find(key); it != cache_.end()) {
    it->second.last_use = ++uses_;
    return it->second.surface;
  }

  const std::string utf8 = Cp1252ToUtf8(cp1252);
  const SDL_Color fg{static_cast<Uint8>(RedOf(colour)), static_cast<Uint8>(GreenOf(colour)),
                     static_cast<Uint8>(BlueOf(colour)), 255};
  SDL_Surface* surface = TTF_RenderUTF8_Blended(ttf, utf8.c_str(), fg);
  if (surface == nullptr) throw RuntimeError(WithSdlError("Text kann nicht gezeichnet werden"));
  SDL_SetSurfaceBlendMode(surface, SDL_BLENDMODE_BLEND);
  // Most of a text's box is clear: RLE skips those pixels when it is drawn.
  SDL_SetSurfaceRLE(surface, 1);

  if (cache_.size() >= kCacheLimit) {
    auto oldest = std::min_element(cache_.begin(), cache_.end(), [](const auto& a, const auto& b) {
      return a.second.last_use < b.second.last_use;
    });
    SDL_FreeSurface(oldest->second.surface);
    cache_.erase(oldest);
  }
  cache_.emplace(std::move(key), CachedText{surface, ++uses_});
  return surface;
}

Point TextEngine::Measure(const Font& font, std::string_view cp1252) {
  if (cp1252.empty()) return {0, TTF_FontHeight(FontFor(font))};
  const SDL_Surface* s = Rendered(font, 0xFFFFFF, cp1252);
  return {s->w, s->h};
}

int TextEngine::Width(const Font& font, std::string_view cp1252) {
  const std::string utf8 = Cp1252ToUtf8(cp1252.substr(0, cp1252.find('\0')));
  int width = 0;
  if (utf8.empty() || TTF_SizeUTF8(FontFor(font), utf8.c_str(), &width, nullptr) != 0) return 0;
  return width;
}

void TextEngine::Draw(SDL_Surface* target, int x, int y, const Font& font, Colour colour,
                      bool transparent, Colour back_colour, std::string_view cp1252) {
  // Nul ends a string for the renderer; the game never draws one.
  cp1252 = cp1252.substr(0, cp1252.find('\0'));
  if (cp1252.empty()) return;  // nothing to draw, not even a box
  if (x >= target->w || y >= target->h) return;
  SDL_Surface* text = Rendered(font, colour, cp1252);
  if (static_cast<std::int64_t>(x) + text->w <= 0 || static_cast<std::int64_t>(y) + text->h <= 0) {
    return;
  }
  SDL_Rect box{x, y, text->w, text->h};
  if (!transparent) {
    SDL_Rect fill = box;
    SDL_FillRect(target, &fill,
                 SDL_MapRGB(target->format, static_cast<Uint8>(RedOf(back_colour)),
                            static_cast<Uint8>(GreenOf(back_colour)),
                            static_cast<Uint8>(BlueOf(back_colour))));
  }
  if (SDL_BlitSurface(text, nullptr, target, &box) != 0) {
    throw RuntimeError(WithSdlError("Text kann nicht gezeichnet werden"));
  }
}

}  // namespace mw
