#pragma once
// The marks a platform gives its surfaces and sounds, and what it holds,
// counted from them and from its text engine.

#include "platform/live_count.h"
#include "platform/platform.h"

namespace mw {

class TextEngine;

struct HeldResources {
  LiveCount surfaces;
  LiveCount sounds;

  // The text engine may be missing (no display opened yet); the textures are
  // the platform's own to count.
  LiveResources Count(const TextEngine* text, int textures) const;
};

}  // namespace mw
