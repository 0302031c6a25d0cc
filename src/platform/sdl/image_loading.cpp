#include "platform/sdl/image_loading.h"

#include <SDL.h>

#include <string>

#include "embedded/embedded_files.h"
#include "errors/runtime_error.h"
#include "platform/sdl/sdl_surfaces.h"

namespace mw {

Surface LoadImageSurface(std::string_view asset, int width, int height, PixelFormat format,
                         TextEngine* text, const LiveCount::Mark& mark) {
  const EmbeddedFile* file = FindEmbeddedFile(asset);
  if (file == nullptr) {
    throw RuntimeError("Das Bild \"" + std::string(asset) + "\" fehlt im Programm");
  }
  SDL_RWops* rw = SDL_RWFromConstMem(file->data, static_cast<int>(file->size));
  SDL_Surface* bmp = rw != nullptr ? SDL_LoadBMP_RW(rw, 1) : nullptr;
  if (bmp == nullptr) {
    throw RuntimeError(
        WithSdlError("Das Bild \"" + std::string(asset) + "\" kann nicht gelesen werden"));
  }
  // Converted before scaling, so exact colours (the keys) stay exact.
  Surface picture(AdoptSurface(bmp, format), text, mark);
  if (picture.Width() == width && picture.Height() == height) return picture;
  Surface scaled(NewSurface(width, height, format), text, mark);
  scaled.BlitScaled({0, 0, width, height}, picture, {});
  return scaled;
}

}  // namespace mw
