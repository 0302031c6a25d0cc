#pragma once
// The platform of a run that a player sees: a window of SDL's on a desktop,
// the page's canvas in a browser. Each build has one of them.

#include <memory>

#include "platform/platform.h"

namespace mw {

struct WindowOptions {
  bool windowed = false;  // a resizable window instead of the whole desktop
};

// Starts the display's system; throws RuntimeError when it cannot (no
// display at all, or none that a player could see).
std::unique_ptr<Platform> MakeWindowPlatform(const WindowOptions& options);

}  // namespace mw
