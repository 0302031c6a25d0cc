#include "platform/sdl/desktop.h"

namespace mw {

bool DesktopNamedInEnvironment() {
  return true;
}

// SDL's full screen on Windows is the system's own, so there is nothing to
// make up for.
bool WindowManagerRunning(SDL_Window*) {
  return true;
}

std::optional<SDL_Rect> ServerWindowRect(SDL_Window*) {
  return std::nullopt;
}

}  // namespace mw
