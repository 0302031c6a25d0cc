// Placeholder until the window platform lands.
#include "platform/runtime_error.h"
#include "platform/sdl_platform.h"

namespace mw {

std::unique_ptr<Platform> MakeSdlPlatform(const SdlOptions&) {
  throw RuntimeError("Der Fenstermodus ist noch nicht eingebaut (Platzhalter)");
}

}  // namespace mw
