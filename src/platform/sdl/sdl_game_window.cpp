#include "platform/sdl/sdl_game_window.h"

#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "embedded/embedded_files.h"
#include "errors/runtime_error.h"
#include "platform/sdl/desktop.h"
#include "platform/sdl/sdl_surfaces.h"

namespace mw {
namespace {

// How long the window's geometry must stay put before the pointer is warped,
// and how long after a switch the pointer follows the window (and is warped
// at the end even if the window never took the expected geometry).
constexpr Uint64 kSettledMs = 60;
constexpr Uint64 kSwitchFollowMs = 1500;
// How long the window's place on the desktop is taken as known.
constexpr Uint64 kOriginRefreshMs = 100;
// The square icon the desktop shows for the installed game (dist/icons/),
// built into the program.
constexpr const char* kIconFile = "64x64.png";

bool SameRect(const std::optional<SDL_Rect>& a, const std::optional<SDL_Rect>& b) {
  if (a.has_value() != b.has_value()) return false;
  return !a || (a->x == b->x && a->y == b->y && a->w == b->w && a->h == b->h);
}

}  // namespace

SDL_Point WindowedSize(int desktop_width, int desktop_height) {
  if (desktop_width >= 2 * kPictureWidth + 64 && desktop_height >= 2 * kPictureHeight + 96) {
    return {2 * kPictureWidth, 2 * kPictureHeight};
  }
  return {kPictureWidth, kPictureHeight};
}

GameWindow::GameWindow(bool fullscreen) {
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  SDL_DisplayMode desktop;
  SDL_Point size{kPictureWidth, kPictureHeight};
  if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) size = WindowedSize(desktop.w, desktop.h);
  // Hidden until it has its place, so it appears once, where it belongs.
  window_ = SDL_CreateWindow("M\xC3\xB6wenschuss", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             size.x, size.y, SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
  if (window_ == nullptr) {
    throw RuntimeError(WithSdlError("Das Fenster kann nicht geöffnet werden"));
  }
  window_manager_ = WindowManagerRunning(window_);
  renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
  if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  if (renderer_ == nullptr) {
    const std::string error = WithSdlError("Die Bildausgabe kann nicht gestartet werden");
    Destroy();
    throw RuntimeError(error);
  }
  SDL_RenderSetLogicalSize(renderer_, kPictureWidth, kPictureHeight);
  format_ = SDL_GetWindowPixelFormat(window_) == SDL_PIXELFORMAT_RGB555 ? kRgb555 : kRgb565;
  texture_ = SDL_CreateTexture(renderer_, SdlFormatOf(format_), SDL_TEXTUREACCESS_STREAMING,
                               kPictureWidth, kPictureHeight);
  if (texture_ == nullptr) {
    const std::string error = WithSdlError("Die Bildausgabe kann nicht gestartet werden");
    Destroy();
    throw RuntimeError(error);
  }
  // Before the window is shown, so the window manager has it from the start.
  SetIcon();
  if (fullscreen) Place(true, nullptr);
  SDL_ShowWindow(window_);
  if (fullscreen_) TakeFocus();
  UpdateConfinement();
}

GameWindow::~GameWindow() {
  Destroy();
}

void GameWindow::Destroy() {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  texture_ = nullptr;
  renderer_ = nullptr;
  window_ = nullptr;
}

void GameWindow::Present(const Surface& picture) {
  const SDL_Surface* pixels = SdlSurfaceOf(picture);
  if (SDL_UpdateTexture(texture_, nullptr, pixels->pixels, pixels->pitch) != 0 ||
      SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255) != 0 || SDL_RenderClear(renderer_) != 0 ||
      SDL_RenderCopy(renderer_, texture_, nullptr, nullptr) != 0) {
    throw RuntimeError(WithSdlError("Das Bild kann nicht gezeigt werden"));
  }
  SDL_RenderPresent(renderer_);
}

void GameWindow::ShowAgain(const Surface& picture) {
  if (!picture) return;
  try {
    Present(picture);
  } catch (const RuntimeError&) {
  }
}

// A window without its icon still plays, so a broken icon is only reported.
void GameWindow::SetIcon() {
  const EmbeddedFile* file = FindEmbeddedFile(kIconFile);
  if (file == nullptr) {
    std::fprintf(stderr, "moewenschuss: Das Fenstersymbol \"%s\" fehlt im Programm\n", kIconFile);
    return;
  }
  SDL_RWops* rw = SDL_RWFromConstMem(file->data, static_cast<int>(file->size));
  SDL_Surface* icon = rw != nullptr ? IMG_Load_RW(rw, 1) : nullptr;
  if (icon == nullptr) {
    std::fprintf(stderr, "moewenschuss: %s\n",
                 WithSdlError("Das Fenstersymbol kann nicht gelesen werden").c_str());
    return;
  }
  SDL_SetWindowIcon(window_, icon);
  SDL_FreeSurface(icon);
}

SDL_Rect GameWindow::DesktopBounds() const {
  const int display = std::max(SDL_GetWindowDisplayIndex(window_), 0);
  SDL_Rect bounds{0, 0, kPictureWidth, kPictureHeight};
  SDL_GetDisplayBounds(display, &bounds);
  return bounds;
}

// A window manager makes a window full screen when asked. Without one SDL
// only believes it did, so the window is put over the whole desktop by hand,
// as a plain window without a frame. SDL waits up to a tenth of a second in
// each step for the window manager, while the window already has its new
// size: the picture is shown again after each.
void GameWindow::Place(bool fullscreen, const Surface* on_screen) {
  const auto show = [&] {
    if (on_screen != nullptr) ShowAgain(*on_screen);
  };
  const SDL_Rect desktop = DesktopBounds();
  const SDL_Point windowed = WindowedSize(desktop.w, desktop.h);
  if (window_manager_) {
    if (SDL_SetWindowFullscreen(window_, fullscreen ? Uint32{SDL_WINDOW_FULLSCREEN_DESKTOP} : 0u) !=
        0) {
      return;
    }
    show();
    if (!fullscreen) {
      SDL_SetWindowSize(window_, windowed.x, windowed.y);
      show();
      SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
  } else if (fullscreen) {
    SDL_SetWindowBordered(window_, SDL_FALSE);
    SDL_SetWindowPosition(window_, desktop.x, desktop.y);
    SDL_SetWindowSize(window_, desktop.w, desktop.h);
  } else {
    SDL_SetWindowBordered(window_, SDL_TRUE);
    SDL_SetWindowSize(window_, windowed.x, windowed.y);
    show();
    SDL_SetWindowPosition(window_, desktop.x + (desktop.w - windowed.x) / 2,
                          desktop.y + (desktop.h - windowed.y) / 2);
  }
  show();
  fullscreen_ = fullscreen;
}

// Nobody else hands the focus to a window where no window manager runs.
void GameWindow::TakeFocus() {
  SDL_RaiseWindow(window_);
  if (!window_manager_) SDL_SetWindowInputFocus(window_);
}

void GameWindow::Toggle(const Surface* on_screen, std::optional<Point> pointer) {
  const Point at = pointer ? *pointer : Pointer();
  const bool was = fullscreen_;
  Place(!fullscreen_, on_screen);
  NoteGeometryChanged();
  if (fullscreen_ == was) return;
  if (fullscreen_) TakeFocus();
  UpdateConfinement();
  warp_target_ = at;
  warped_ = false;
  switch_started_ = SDL_GetTicks64();
  stable_since_ = switch_started_;
  last_rect_.reset();
  Settle();
}

// A window manager may place the window in several steps (the size, then
// the place), so the pointer follows the window for a while after the
// switch, until the player moves it.
void GameWindow::Settle() {
  if (!warp_target_) return;
  const Uint64 now = SDL_GetTicks64();
  SDL_Point pointer{};
  SDL_GetGlobalMouseState(&pointer.x, &pointer.y);
  if (warped_ && (pointer.x != warped_pointer_.x || pointer.y != warped_pointer_.y)) {
    warp_target_.reset();  // the player has taken over
    return;
  }
  const std::optional<SDL_Rect> rect = ServerWindowRect(window_);
  if (!SameRect(rect, last_rect_)) {
    last_rect_ = rect;
    stable_since_ = now;
  }
  const bool over = now - switch_started_ >= kSwitchFollowMs;
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(window_, &width, &height);
  bool placed = true;
  if (rect) {
    placed = rect->w == width && rect->h == height;
    if (fullscreen_) placed = placed && SameRect(rect, DesktopBounds());
  }
  const bool moved_since = !warped_ || !SameRect(rect, warped_rect_);
  if ((placed && now - stable_since_ >= kSettledMs && moved_since) || (over && !warped_)) {
    WarpTo(*warp_target_);
    warped_ = true;
    warped_rect_ = rect;
    SDL_GetGlobalMouseState(&warped_pointer_.x, &warped_pointer_.y);
  }
  if (over) warp_target_.reset();
}

void GameWindow::WarpTo(Point picture_pixel) {
  int x = 0;
  int y = 0;
  // The middle of the pixel, so the pointer reads back as the same pixel.
  SDL_RenderLogicalToWindow(renderer_, static_cast<float>(picture_pixel.x) + 0.5f,
                            static_cast<float>(picture_pixel.y) + 0.5f, &x, &y);
  SDL_WarpMouseInWindow(window_, x, y);
}

GameWindow::WindowPointer GameWindow::PointerInWindow() const {
  int x = 0;
  int y = 0;
  // SDL's own mouse state reads 0,0 until the pointer first moves; until
  // then, and whenever the pointer is outside, ask the desktop. SDL keeps
  // the focus only while the pointer is over the window.
  if (pointer_seen_ && SDL_GetMouseFocus() == window_) {
    SDL_GetMouseState(&x, &y);
    return {SDL_FPoint{static_cast<float>(x), static_cast<float>(y)}, true};
  }
  SDL_GetGlobalMouseState(&x, &y);
  // Asked of the server now and then, not on every pass: each question is a
  // round trip, and a slow one where the X server is far away.
  const Uint64 now = SDL_GetTicks64();
  if (area_asked_ == 0 || now - area_asked_ >= kOriginRefreshMs) {
    area_asked_ = now;
    if (const std::optional<SDL_Rect> rect = ServerWindowRect(window_)) {
      area_ = *rect;
    } else {
      SDL_GetWindowPosition(window_, &area_.x, &area_.y);
      SDL_GetWindowSize(window_, &area_.w, &area_.h);
    }
  }
  const SDL_Point local{x - area_.x, y - area_.y};
  // Once SDL has seen the pointer, its focus tells surely that the pointer
  // left; the desktop's position SDL keeps is renewed only when the mouse
  // itself moves, not when another program puts the pointer elsewhere.
  const bool inside =
      !pointer_seen_ && local.x >= 0 && local.y >= 0 && local.x < area_.w && local.y < area_.h;
  return {SDL_FPoint{static_cast<float>(local.x), static_cast<float>(local.y)}, inside};
}

Point GameWindow::PictureAt(int window_x, int window_y) const {
  float x = 0;
  float y = 0;
  SDL_RenderWindowToLogical(renderer_, window_x, window_y, &x, &y);
  const auto clamp = [](float v, int high) {
    return std::clamp(static_cast<int>(std::floor(std::clamp(v, -1.0f, 100000.0f))), 0, high);
  };
  return {clamp(x, kPictureWidth - 1), clamp(y, kPictureHeight - 1)};
}

Point GameWindow::Pointer() {
  // Until the pointer is back on its pixel after a switch, the game goes on
  // seeing it there, so the view does not scroll by itself.
  if (warp_target_ && !warped_) return kept_pointer_ = *warp_target_;
  const WindowPointer pointer = PointerInWindow();
  // A pointer elsewhere on the desktop is not aimed at the game: clamped to
  // the window's edge it would pick the menu line beside it, and Enter would
  // act on that line. Full screen has no elsewhere.
  if (!fullscreen_ && !pointer.inside) return kept_pointer_;
  kept_pointer_ = PictureAt(static_cast<int>(std::floor(pointer.at.x)),
                            static_cast<int>(std::floor(pointer.at.y)));
  return kept_pointer_;
}

bool GameWindow::Lost() const {
  const Uint32 flags = SDL_GetWindowFlags(window_);
  if ((flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) != 0) return true;
  // Without a window manager nobody could give the focus back (nor take it
  // by Alt+Tab), so there it does not count.
  return fullscreen_ && window_manager_ && (flags & SDL_WINDOW_INPUT_FOCUS) == 0;
}

void GameWindow::SetInGame(bool in_game) {
  in_game_ = in_game;
  UpdateConfinement();
}

void GameWindow::ReleasePointer() {
  SDL_SetWindowGrab(window_, SDL_FALSE);
}

void GameWindow::UpdateConfinement() {
  const bool confined = fullscreen_ || in_game_;
  // The server would push a pointer from outside onto the window's nearest
  // edge, where the crosshair would scroll the view; it goes where the game
  // already sees it instead. Only with the focus: SDL confines no other time.
  if (confined && !fullscreen_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0 &&
      !PointerInWindow().inside) {
    WarpTo(kept_pointer_);
  }
  SDL_SetWindowGrab(window_, confined ? SDL_TRUE : SDL_FALSE);
}

}  // namespace mw
