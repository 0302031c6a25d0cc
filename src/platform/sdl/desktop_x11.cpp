#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "platform/os/environment.h"
#include "platform/sdl/desktop.h"

namespace mw {
namespace {

struct X11Window {
  Display* display = nullptr;
  Window window = 0;
};

std::optional<X11Window> X11Of(SDL_Window* window) {
  if (window == nullptr) return std::nullopt;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
    return std::nullopt;
  }
  return X11Window{info.info.x11.display, info.info.x11.window};
}

// A window manager that died leaves its check window's id behind; asking
// about that id must not end the program through Xlib's default handler.
int IgnoreXError(Display*, XErrorEvent*) {
  return 0;
}

// The window named by the property, when it exists and names itself too.
std::optional<Window> CheckWindowOf(Display* display, Window owner, Atom property) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display, owner, property, 0, 1, False, XA_WINDOW, &type,
                                        &format, &count, &remaining, &data);
  std::optional<Window> found;
  if (status == Success && type == XA_WINDOW && format == 32 && count == 1 && data != nullptr) {
    found = *reinterpret_cast<Window*>(data);
  }
  if (data != nullptr) XFree(data);
  return found;
}

bool IsSet(const char* variable) {
  const std::optional<std::string> value = ReadEnvironment(variable);
  return value && !value->empty();
}

}  // namespace

bool DesktopNamedInEnvironment() {
  return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

bool WindowManagerRunning(SDL_Window* window) {
  const std::optional<X11Window> x11 = X11Of(window);
  if (!x11) return true;
  Display* display = x11->display;
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
  const Window root = DefaultRootWindow(display);
  const std::optional<Window> wm = CheckWindowOf(display, root, check);
  if (!wm) return false;
  XSync(display, False);
  const auto previous = XSetErrorHandler(IgnoreXError);
  const std::optional<Window> confirmed = CheckWindowOf(display, *wm, check);
  XSync(display, False);
  XSetErrorHandler(previous);
  return confirmed == wm;
}

std::optional<SDL_Rect> ServerWindowRect(SDL_Window* window) {
  const std::optional<X11Window> x11 = X11Of(window);
  if (!x11) return std::nullopt;
  XWindowAttributes attributes;
  if (XGetWindowAttributes(x11->display, x11->window, &attributes) == 0) return std::nullopt;
  int x = 0;
  int y = 0;
  Window child = 0;
  if (XTranslateCoordinates(x11->display, x11->window, attributes.root, 0, 0, &x, &y, &child) ==
      False) {
    return std::nullopt;
  }
  return SDL_Rect{x, y, attributes.width, attributes.height};
}

}  // namespace mw
