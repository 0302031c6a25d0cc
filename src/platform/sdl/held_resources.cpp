#include "platform/sdl/held_resources.h"

#include "platform/sdl/text_engine.h"

namespace mw {

LiveResources HeldResources::Count(const TextEngine* text, int textures) const {
  LiveResources live;
  live.surfaces = surfaces.Live();
  live.textures = textures;
  live.sounds = sounds.Live();
  if (text != nullptr) {
    live.fonts = static_cast<int>(text->FontCount());
    live.rendered_texts = static_cast<int>(text->CachedCount());
  }
  return live;
}

}  // namespace mw
