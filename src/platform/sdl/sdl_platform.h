#pragma once
// The real platform: an SDL window (fullscreen-desktop unless windowed), the
// 640x480 picture scaled with nearest-neighbour and letterboxed, sound through
// SDL2_mixer.

#include <memory>

#include "platform/platform.h"

namespace mw {

struct SdlOptions {
  bool windowed = false;  // a resizable window instead of the whole desktop
};

// Starts SDL's video and events; throws RuntimeError when it cannot.
std::unique_ptr<Platform> MakeSdlPlatform(const SdlOptions& options);

}  // namespace mw
