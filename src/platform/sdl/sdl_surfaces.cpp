#include "platform/sdl/sdl_surfaces.h"

#include <cstring>

#include "errors/runtime_error.h"
#include "platform/surface.h"

namespace mw {

SDL_Surface* SdlSurfaceOf(const Surface& surface) {
  return surface.surface_;
}

std::string WithSdlError(const std::string& what) {
  return what + ": " + SDL_GetError();
}

Uint32 SdlFormatOf(PixelFormat format) {
  return format == kRgb555 ? SDL_PIXELFORMAT_RGB555 : SDL_PIXELFORMAT_RGB565;
}

SDL_Surface* NewSurface(int width, int height, PixelFormat format) {
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
    throw RuntimeError("Eine Oberfläche von " + std::to_string(width) + "x" +
                       std::to_string(height) + " Pixeln kann nicht angelegt werden");
  }
  const int pitch = (width * 2 + 3) & ~3;
  const auto bytes = static_cast<std::size_t>(pitch) * static_cast<std::size_t>(height);
  void* pixels = SDL_malloc(bytes);
  if (pixels == nullptr) throw RuntimeError("Kein Speicher für eine Oberfläche");
  std::memset(pixels, 0, bytes);
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormatFrom(pixels, width, height, 16, pitch, SdlFormatOf(format));
  if (surface == nullptr) {
    SDL_free(pixels);
    throw RuntimeError(WithSdlError("Eine Oberfläche kann nicht angelegt werden"));
  }
  surface->userdata = pixels;
  return surface;
}

SDL_Surface* AdoptSurface(SDL_Surface* original, PixelFormat format) {
  if (original == nullptr) return nullptr;
  if (original->userdata == original->pixels && original->userdata != nullptr &&
      original->format->format == SdlFormatOf(format)) {
    return original;  // already one of ours
  }
  SDL_Surface* copy = nullptr;
  try {
    copy = NewSurface(original->w, original->h, format);
    // A plain copy of every pixel: no blending, no key.
    SDL_SetSurfaceBlendMode(original, SDL_BLENDMODE_NONE);
    SDL_SetColorKey(original, SDL_FALSE, 0);
    if (SDL_BlitSurface(original, nullptr, copy, nullptr) != 0) {
      throw RuntimeError(WithSdlError("Ein Bild kann nicht umgewandelt werden"));
    }
  } catch (...) {
    FreeSurface(copy);
    SDL_FreeSurface(original);
    throw;
  }
  SDL_FreeSurface(original);
  return copy;
}

void FreeSurface(SDL_Surface* surface) {
  if (surface == nullptr) return;
  void* pixels = surface->userdata;
  SDL_FreeSurface(surface);
  SDL_free(pixels);
}

PixelWrite::PixelWrite(SDL_Surface* surface)
    : surface_(surface), rle_(SDL_HasSurfaceRLE(surface) == SDL_TRUE) {
  if (rle_) SDL_SetSurfaceRLE(surface_, 0);
}

PixelWrite::~PixelWrite() {
  if (rle_) SDL_SetSurfaceRLE(surface_, 1);
}

}  // namespace mw
