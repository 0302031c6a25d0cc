#pragma once
// The game's window: the 640x480 picture scaled with nearest-neighbour and
// letterboxed, full screen or in a window, on X servers with or without a
// window manager. A switch between the two keeps the pointer on the same
// picture pixel. In a window the game sees the pointer only while it is over
// the window.

#include <SDL.h>

#include <cstdint>
#include <optional>

#include "drawing/drawing_types.h"
#include "platform/surface.h"

namespace mw {

class GameWindow {
 public:
  // Opens the window. Throws RuntimeError.
  explicit GameWindow(bool fullscreen);
  ~GameWindow();
  GameWindow(const GameWindow&) = delete;
  GameWindow& operator=(const GameWindow&) = delete;

  SDL_Window* Raw() const { return window_; }
  PixelFormat Format() const { return format_; }
  int TextureCount() const { return texture_ != nullptr ? 1 : 0; }
  bool Fullscreen() const { return fullscreen_; }

  // Shows a 640x480 picture in the window's layout. Throws RuntimeError.
  void Present(const Surface& picture);
  // Shows the picture on screen once more, after the window changed: a
  // failure is left for the next frame's Present to report, so that it does
  // not strike in the middle of a switch or of reading the input.
  void ShowAgain(const Surface& picture);

  // Switches between full screen and a window. Given the picture on screen,
  // shows it again after each step of the switch, laid out for the window's
  // new size, so no step shows the old layout's picture. The pointer stays
  // on its picture pixel, or goes to `pointer` where a game pad moved the
  // game's pointer away from the mouse.
  void ToggleFullscreen(const Surface& on_screen, std::optional<Point> pointer = std::nullopt) {
    Toggle(&on_screen, pointer);
  }
  void ToggleFullscreen() { Toggle(nullptr, std::nullopt); }
  // Once a pass: after a switch, puts the pointer back on its picture pixel
  // as soon as the window has its new place and size.
  void Settle();

  // The picture pixel under the pointer, clamped to the picture. In a
  // window, while the pointer is outside it, the pixel it last had inside
  // (the picture's middle before it ever came in).
  Point Pointer();
  // The picture pixel at a point of the window, clamped to the picture.
  Point PictureAt(int window_x, int window_y) const;
  // SDL has seen the pointer move in the window, so its mouse state is true.
  void NotePointerSeen() { pointer_seen_ = true; }
  // The window moved or changed its size: SDL's mouse state still holds the
  // pointer's place in the old geometry until the pointer moves again.
  void NoteGeometryChanged() {
    pointer_seen_ = false;
    area_asked_ = 0;
  }

  // Minimised or hidden, or full screen without the input focus where a
  // window manager runs: the game then waits, as it would behind another
  // full-screen program.
  bool Lost() const;
  // In a game, and always in full screen, the pointer stays in the window.
  void SetInGame(bool in_game);
  void ReleasePointer();

 private:
  void Toggle(const Surface* on_screen, std::optional<Point> pointer);
  void Place(bool fullscreen, const Surface* on_screen);
  void TakeFocus();
  void UpdateConfinement();
  SDL_Rect DesktopBounds() const;
  struct WindowPointer {
    SDL_FPoint at;  // in window pixels
    bool inside;    // over the window's own area, not its frame or beyond
  };
  // The pointer's position in window pixels, true even before SDL saw it move.
  WindowPointer PointerInWindow() const;
  void SetIcon();
  void WarpTo(Point picture_pixel);
  void Destroy();

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  PixelFormat format_ = kRgb565;
  bool window_manager_ = true;
  bool fullscreen_ = false;
  bool in_game_ = false;
  bool pointer_seen_ = false;
  // What the game sees while the pointer is outside a window.
  Point kept_pointer_{kPictureWidth / 2, kPictureHeight / 2};

  // After a switch: the picture pixel the pointer belongs on, and where the
  // window and the pointer were at the last warp.
  std::optional<Point> warp_target_;
  bool warped_ = false;
  Uint64 switch_started_ = 0;
  Uint64 stable_since_ = 0;
  std::optional<SDL_Rect> last_rect_;
  std::optional<SDL_Rect> warped_rect_;
  SDL_Point warped_pointer_{};

  // The window's area on the desktop, while SDL has not seen the pointer.
  mutable SDL_Rect area_{};
  mutable Uint64 area_asked_ = 0;
};

// The size of a window on a desktop of that size: doubled where it fits with
// room for the window's frame and the desktop's panels.
SDL_Point WindowedSize(int desktop_width, int desktop_height);

}  // namespace mw
