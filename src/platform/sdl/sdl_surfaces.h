#pragma once
// How the platform makes and guards the SDL surfaces behind Surface.
//
// Every surface keeps its pixels in a buffer of its own (SDL_PREALLOC), so the
// pixels stay readable while SDL holds an RLE copy of a colour-keyed sprite:
// keyed blits run on the fast RLE copy, scaled blits read the plain pixels.

#include <SDL.h>

#include <string>

#include "drawing/drawing_types.h"

namespace mw {

class Surface;

// The SDL surface behind a Surface (null for a released one): for the
// platform's own SDL calls only.
SDL_Surface* SdlSurfaceOf(const Surface& surface);

// The SDL pixel format of a 16-bit layout (5-6-5 or 5-5-5).
Uint32 SdlFormatOf(PixelFormat format);

// A new w x h surface in that layout with its own pixel buffer, filled with 0.
// Throws RuntimeError.
SDL_Surface* NewSurface(int width, int height, PixelFormat format);

// A surface of ours holding a copy of any SDL surface in that layout; frees
// the original. Throws RuntimeError.
SDL_Surface* AdoptSurface(SDL_Surface* original, PixelFormat format);

// Frees a surface made by NewSurface or AdoptSurface.
void FreeSurface(SDL_Surface* surface);

// While alive, the surface's plain pixels may be written: an RLE copy is
// dropped and made again at the next keyed blit.
class PixelWrite {
 public:
  explicit PixelWrite(SDL_Surface* surface);
  ~PixelWrite();
  PixelWrite(const PixelWrite&) = delete;
  PixelWrite& operator=(const PixelWrite&) = delete;

 private:
  SDL_Surface* surface_;
  bool rle_;
};

// "what: SDL's error" for RuntimeError texts.
std::string WithSdlError(const std::string& what);

}  // namespace mw
