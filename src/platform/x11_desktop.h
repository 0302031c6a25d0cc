#pragma once
// What SDL does not say about an X11 desktop: whether a window manager runs,
// and where the server really has a window. Without a window manager SDL's
// full screen only changes SDL's idea of the window, not the window itself.
// On other video drivers these questions have no answer (nullopt / true).

#include <SDL.h>

#include <optional>

namespace mw {

// True unless the window is on an X server that has no EWMH window manager.
bool WindowManagerRunning(SDL_Window* window);

// The window's area on the X server, in root coordinates; nullopt when the
// window is not on X11 or the server does not answer.
std::optional<SDL_Rect> ServerWindowRect(SDL_Window* window);

}  // namespace mw
