#include "platform/surface.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "errors/runtime_error.h"
#include "platform/sdl/sdl_surfaces.h"
#include "platform/sdl/text_engine.h"

namespace mw {
namespace {

// Using a released surface is the game's "object variable not set" error.
[[noreturn]] void ThrowNothing() {
  throw ObjectNotSet();
}

std::uint16_t* Row(SDL_Surface* s, std::int64_t y) {
  return reinterpret_cast<std::uint16_t*>(static_cast<std::uint8_t*>(s->pixels) + y * s->pitch);
}

// A rectangle in 64-bit so that no sum of two game values can overflow.
struct Span {
  std::int64_t left, top, right, bottom;
  bool Empty() const { return right <= left || bottom <= top; }
};

Span Intersect(Span a, Span b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

Span SourceSpan(const SDL_Surface* src, Rect source) {
  if (source.IsWhole()) return {0, 0, src->w, src->h};
  return {source.left, source.top, source.right, source.bottom};
}

std::optional<std::uint32_t> KeyOf(SDL_Surface* s) {
  Uint32 key = 0;
  if (SDL_GetColorKey(s, &key) != 0) return std::nullopt;
  return key;
}

// Every pixel is read and written, one select each, so the compiler turns
// the row into vector code: faster than RLE's copy of each opaque run when
// a picture has many small holes (a layer of splats).
void CopyKeyedRow(std::uint16_t* out, const std::uint16_t* in, std::size_t width,
                  std::uint16_t skip) {
  for (std::size_t i = 0; i < width; ++i) out[i] = in[i] == skip ? out[i] : in[i];
}

}  // namespace

Surface::Surface(SDL_Surface* owned, TextEngine* text, LiveCount::Mark mark) : text_(text) {
  if (owned == nullptr) return;
  const PixelFormat format{owned->format->Rmask, owned->format->Gmask, owned->format->Bmask};
  surface_ = AdoptSurface(owned, format == kRgb555 ? kRgb555 : kRgb565);
  mark_ = std::move(mark);
}

Surface::Surface(Surface&& other) noexcept
    : surface_(std::exchange(other.surface_, nullptr)),
      text_(other.text_),
      mark_(std::move(other.mark_)) {}

Surface& Surface::operator=(Surface&& other) noexcept {
  if (this != &other) {
    Release();
    surface_ = std::exchange(other.surface_, nullptr);
    text_ = other.text_;
    mark_ = std::move(other.mark_);
  }
  return *this;
}

Surface::~Surface() {
  Release();
}

void Surface::Release() {
  FreeSurface(surface_);
  surface_ = nullptr;
  mark_.reset();
}

int Surface::Width() const {
  return surface_ ? surface_->w : 0;
}
int Surface::Height() const {
  return surface_ ? surface_->h : 0;
}

PixelFormat Surface::Format() const {
  if (!surface_) ThrowNothing();
  return {surface_->format->Rmask, surface_->format->Gmask, surface_->format->Bmask};
}

std::uint32_t Surface::MapColour(Colour c) const {
  if (!surface_) ThrowNothing();
  return SDL_MapRGB(surface_->format, static_cast<Uint8>(RedOf(c)), static_cast<Uint8>(GreenOf(c)),
                    static_cast<Uint8>(BlueOf(c)));
}

std::uint32_t Surface::PixelAt(int x, int y) const {
  if (!surface_) ThrowNothing();
  if (x < 0 || y < 0 || x >= surface_->w || y >= surface_->h) {
    throw RuntimeError("Pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                       ") liegt außerhalb der Oberfläche");
  }
  return Row(surface_, y)[x];
}

void Surface::SetTransparentColor(std::uint32_t raw, KeyedCopy copy) {
  if (!surface_) ThrowNothing();
  // RLE makes sprites with large clear parts cheap to draw; the plain pixels
  // stay alongside.
  const Uint32 flags = copy == KeyedCopy::kOpaqueRuns ? SDL_TRUE | SDL_RLEACCEL : SDL_TRUE;
  if (SDL_SetColorKey(surface_, static_cast<int>(flags), raw & 0xFFFFu) != 0) {
    throw RuntimeError(WithSdlError("Die transparente Farbe kann nicht gesetzt werden"));
  }
}

void Surface::BlitImage(std::int32_t x, std::int32_t y, const Surface& src, Rect source,
                        bool keyed) {
  if (!surface_ || !src.surface_) ThrowNothing();
  SDL_Surface* from = src.surface_;
  // The part of the source that exists, then the part of it that lands on us.
  Span s = Intersect(SourceSpan(from, source), {0, 0, from->w, from->h});
  const std::int64_t dx = static_cast<std::int64_t>(x) - SourceSpan(from, source).left;
  const std::int64_t dy = static_cast<std::int64_t>(y) - SourceSpan(from, source).top;
  const Span d = Intersect({s.left + dx, s.top + dy, s.right + dx, s.bottom + dy},
                           {0, 0, surface_->w, surface_->h});
  if (d.Empty()) return;
  s = {d.left - dx, d.top - dy, d.right - dx, d.bottom - dy};

  PixelWrite write(surface_);
  const auto key = KeyOf(from);
  if (keyed && key && from != surface_ && SDL_HasSurfaceRLE(from) == SDL_TRUE) {
    SDL_Rect sr{static_cast<int>(s.left), static_cast<int>(s.top),
                static_cast<int>(s.right - s.left), static_cast<int>(s.bottom - s.top)};
    SDL_Rect dr{static_cast<int>(d.left), static_cast<int>(d.top), sr.w, sr.h};
    if (SDL_LowerBlit(from, &sr, surface_, &dr) != 0) {
      throw RuntimeError(WithSdlError("Ein Bild kann nicht kopiert werden"));
    }
    return;
  }
  const auto width = static_cast<std::size_t>(d.right - d.left);
  const std::int64_t height = d.bottom - d.top;
  if (from == surface_) {
    // Copying within one surface: go through a copy so overlaps stay right.
    std::vector<std::uint16_t> copy(width * static_cast<std::size_t>(height));
    for (std::int64_t row = 0; row < height; ++row) {
      std::memcpy(&copy[static_cast<std::size_t>(row) * width], Row(from, s.top + row) + s.left,
                  width * 2);
    }
    for (std::int64_t row = 0; row < height; ++row) {
      const std::uint16_t* in = &copy[static_cast<std::size_t>(row) * width];
      std::uint16_t* out = Row(surface_, d.top + row) + d.left;
      for (std::size_t i = 0; i < width; ++i) {
        if (!keyed || !key || in[i] != *key) out[i] = in[i];
      }
    }
    return;
  }
  if (keyed && key) {
    const auto skip = static_cast<std::uint16_t>(*key);
    for (std::int64_t row = 0; row < height; ++row) {
      CopyKeyedRow(Row(surface_, d.top + row) + d.left, Row(from, s.top + row) + s.left, width,
                   skip);
    }
    return;
  }
  for (std::int64_t row = 0; row < height; ++row) {
    std::memcpy(Row(surface_, d.top + row) + d.left, Row(from, s.top + row) + s.left, width * 2);
  }
}

void Surface::BlitScaled(Rect target, const Surface& src, Rect source) {
  if (!surface_ || !src.surface_) ThrowNothing();
  SDL_Surface* from = src.surface_;
  const Span t{target.left, target.top, target.right, target.bottom};
  const Span s = SourceSpan(from, source);
  if (t.Empty() || s.Empty()) return;
  const Span d = Intersect(t, {0, 0, surface_->w, surface_->h});
  if (d.Empty()) return;

  // Each target pixel samples the source at its centre, measured from the
  // unclipped target, so a clipped blit shows exactly the same pixels.
  const std::int64_t tw = t.right - t.left;
  const std::int64_t th = t.bottom - t.top;
  const std::int64_t sw = s.right - s.left;
  const std::int64_t sh = s.bottom - s.top;
  // Source column of each visible target column; -1 where the source
  // rectangle reaches past the image.
  std::vector<std::int32_t> column(static_cast<std::size_t>(d.right - d.left));
  for (std::int64_t x = d.left; x < d.right; ++x) {
    const std::int64_t sx = s.left + ((2 * (x - t.left) + 1) * sw) / (2 * tw);
    column[static_cast<std::size_t>(x - d.left)] =
        sx >= 0 && sx < from->w ? static_cast<std::int32_t>(sx) : -1;
  }
  const auto key = KeyOf(from);
  std::vector<std::uint16_t> copy;
  if (from == surface_) {
    copy.assign(Row(from, 0), Row(from, 0) + (from->pitch / 2) * from->h);
  }
  PixelWrite write(surface_);
  for (std::int64_t y = d.top; y < d.bottom; ++y) {
    const std::int64_t sy = s.top + ((2 * (y - t.top) + 1) * sh) / (2 * th);
    if (sy < 0 || sy >= from->h) continue;
    const std::uint16_t* in =
        copy.empty() ? Row(from, sy) : &copy[static_cast<std::size_t>(sy * (from->pitch / 2))];
    std::uint16_t* out = Row(surface_, y) + d.left;
    if (key) {
      const auto skip = static_cast<std::uint16_t>(*key);
      for (std::size_t i = 0; i < column.size(); ++i) {
        if (column[i] < 0) continue;
        const std::uint16_t pixel = in[column[i]];
        if (pixel != skip) out[i] = pixel;
      }
    } else {
      for (std::size_t i = 0; i < column.size(); ++i) {
        if (column[i] >= 0) out[i] = in[column[i]];
      }
    }
  }
}

Surface Surface::ScaledCopy(Rect source, int width, int height) const {
  if (!surface_) ThrowNothing();
  const auto key = KeyOf(surface_);
  if (!key) throw RuntimeError("Nur ein Bild mit transparenter Farbe wird vorab skaliert");
  Surface scaled(NewSurface(width, height, Format()), text_, mark_);
  scaled.FillRect(Rect{}, *key);
  scaled.BlitScaled(Rect{0, 0, width, height}, *this, source);
  scaled.SetTransparentColor(*key);
  return scaled;
}

void Surface::FillRect(Rect r, std::uint32_t raw) {
  if (!surface_) ThrowNothing();
  const Span whole{0, 0, surface_->w, surface_->h};
  const Span d = r.IsWhole() ? whole : Intersect({r.left, r.top, r.right, r.bottom}, whole);
  if (d.Empty()) return;
  SDL_Rect box{static_cast<int>(d.left), static_cast<int>(d.top),
               static_cast<int>(d.right - d.left), static_cast<int>(d.bottom - d.top)};
  PixelWrite write(surface_);
  SDL_FillRect(surface_, &box, raw & 0xFFFFu);
}

void Surface::HalveBrightness() {
  if (!surface_) ThrowNothing();
  const PixelFormat f = Format();
  const auto half = static_cast<std::uint16_t>(((f.red_mask >> 1) & f.red_mask) |
                                               ((f.green_mask >> 1) & f.green_mask) |
                                               ((f.blue_mask >> 1) & f.blue_mask));
  PixelWrite write(surface_);
  for (int y = 0; y < surface_->h; ++y) {
    std::uint16_t* row = Row(surface_, y);
    for (int x = 0; x < surface_->w; ++x) row[x] = static_cast<std::uint16_t>((row[x] >> 1) & half);
  }
}

void Surface::DrawText(std::int32_t x, std::int32_t y, std::string_view cp1252,
                       const TextStyle& style) {
  if (!surface_) ThrowNothing();
  if (text_ == nullptr) throw RuntimeError("Diese Oberfläche kann keinen Text zeichnen");
  PixelWrite write(surface_);
  text_->Draw(surface_, x, y, style.font, style.colour, !style.opaque, style.back_colour, cp1252);
}

}  // namespace mw
