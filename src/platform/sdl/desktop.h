#pragma once
// What SDL does not say about the desktop. On X11: whether a window manager
// runs, and where the server really has a window; without a window manager
// SDL's full screen only changes SDL's idea of the window, not the window
// itself. On Windows the desktop does all of that for SDL, and on other video
// drivers these questions have no answer (true / nullopt).

#include <SDL.h>

#include <optional>

namespace mw {

// True when the environment names a desktop to open a window on: DISPLAY or
// WAYLAND_DISPLAY on Linux; a Windows session always has one.
bool DesktopNamedInEnvironment();

// True unless the window is on an X server that has no EWMH window manager.
bool WindowManagerRunning(SDL_Window* window);

// The window's area on the X server, in root coordinates; nullopt when the
// window is not on X11 or the server does not answer.
std::optional<SDL_Rect> ServerWindowRect(SDL_Window* window);

}  // namespace mw
