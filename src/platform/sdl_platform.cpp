#include "platform/sdl_platform.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/cp1252.h"
#include "platform/image_loading.h"
#include "platform/platform_folders.h"
#include "platform/runtime_error.h"
#include "platform/sdl_surfaces.h"
#include "platform/sound_data.h"
#include "platform/text_engine.h"
#include "platform/virtual_keys.h"

namespace mw {
namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr Uint64 kFramesPerSecond = 60;

class SdlPlatform : public Platform {
 public:
  explicit SdlPlatform(const SdlOptions& options);
  ~SdlPlatform() override;
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  void OpenDisplay() override;
  void CloseDisplay() override;
  PixelFormat DisplayFormat() const override { return format_; }
  Surface MakeSurface(int width, int height) override {
    return Surface(NewSurface(width, height, format_), text_.get());
  }
  Surface ImageSurface(std::string_view asset, int width, int height) override {
    return LoadImageSurface(asset, width, height, format_, text_.get());
  }
  void Flip(const Surface& back_buffer, Rect visible) override;
  void RestoreSurfaces() override {}  // software surfaces lose nothing
  void SetGameMode(bool in_game) override;
  void Pause() override { SDL_Delay(1); }

  SoundBuffer LoadSound(std::string_view asset) override;
  void PlaySound(int channel, const SoundBuffer& sound) override;

 protected:
  InputFrame SampleInput() override;
  bool OpenSoundDeviceNow() override;
  void ShowMessageBoxNow(std::string_view title, std::string_view text) override;
  std::string ProgramFolderNow() override { return ExecutableFolder(); }
  std::string UserDataFolderNow() override { return PerUserDataFolder(); }

 private:
  void TakeEvents(InputFrame& frame);
  void ReadKeys(InputFrame& frame) const;
  Point ReadMouse() const;
  bool DisplayLost() const;
  void ToggleFullscreen();
  void UpdateMouseConfinement();
  void PaceFrame();
  std::int64_t Elapsed() const;

  SdlOptions options_;
  Uint64 start_ms_ = 0;
  std::unique_ptr<TextEngine> text_;
  PixelFormat format_ = kRgb565;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  Surface frame_;
  bool fullscreen_ = true;
  bool in_game_ = false;
  bool quit_ = false;
  bool sound_open_ = false;
  std::array<std::uint16_t, vk::kCount> presses_{};  // since the last frame
  // Enter that went down as part of Alt+Enter stays out of the game until it
  // is let go: the switch of the window is all it does.
  bool return_switched_window_ = false;
  Uint64 next_frame_ = 0;                   // performance-counter time of the next frame
};

bool IsSet(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && value[0] != '\0';
}

SdlPlatform::SdlPlatform(const SdlOptions& options) : options_(options) {
  // Without X11 or Wayland SDL would quietly fall back to an invisible
  // off-screen driver, and the game would run where nobody can see it. Only
  // the console driver remains worth trying then, unless a driver was asked for.
  const bool driver_asked_for = IsSet("SDL_VIDEODRIVER");
  const bool no_desktop = !IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY");
  if (!driver_asked_for && no_desktop) {
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "kmsdrm", SDL_HINT_OVERRIDE);
  }
  // Ctrl+C and SIGTERM become SDL_QUIT: the program ends in order.
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    if (!driver_asked_for && no_desktop) {
      throw RuntimeError(
          "Kein Bildschirm gefunden: weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt");
    }
    throw RuntimeError(WithSdlError("Die Grafik kann nicht gestartet werden"));
  }
  const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  if (!driver_asked_for && (driver == "offscreen" || driver == "dummy")) {
    SDL_Quit();
    throw RuntimeError("Kein Bildschirm gefunden (nur der unsichtbare Treiber \"" + driver +
                       "\" ist verfügbar)");
  }
  start_ms_ = SDL_GetTicks64();
  try {
    text_ = std::make_unique<TextEngine>();
  } catch (...) {
    SDL_Quit();
    throw;
  }
  fullscreen_ = !options_.windowed;
}

SdlPlatform::~SdlPlatform() {
  CloseDisplay();
  if (sound_open_) {
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
  }
  text_.reset();
  SDL_Quit();
}

std::int64_t SdlPlatform::Elapsed() const {
  return static_cast<std::int64_t>(SDL_GetTicks64() - start_ms_);
}

void SdlPlatform::OpenDisplay() {
  if (window_ != nullptr) return;
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  int width = kScreenWidth;
  int height = kScreenHeight;
  SDL_DisplayMode desktop;
  if (options_.windowed && SDL_GetDesktopDisplayMode(0, &desktop) == 0 &&
      desktop.w >= 2 * kScreenWidth + 64 && desktop.h >= 2 * kScreenHeight + 96) {
    width *= 2;  // the desktop has room for a clearer window
    height *= 2;
  }
  const Uint32 flags =
      SDL_WINDOW_RESIZABLE | (fullscreen_ ? Uint32{SDL_WINDOW_FULLSCREEN_DESKTOP} : 0u);
  window_ = SDL_CreateWindow("M\xC3\xB6wenschuss", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             width, height, flags);
  if (window_ == nullptr) {
    throw RuntimeError(WithSdlError("Das Fenster kann nicht geöffnet werden"));
  }
  renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
  if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  if (renderer_ == nullptr) {
    const std::string error = WithSdlError("Die Bildausgabe kann nicht gestartet werden");
    CloseDisplay();
    throw RuntimeError(error);
  }
  SDL_RenderSetLogicalSize(renderer_, kScreenWidth, kScreenHeight);
  format_ = SDL_GetWindowPixelFormat(window_) == SDL_PIXELFORMAT_RGB555 ? kRgb555 : kRgb565;
  texture_ = SDL_CreateTexture(renderer_, SdlFormatOf(format_), SDL_TEXTUREACCESS_STREAMING,
                               kScreenWidth, kScreenHeight);
  if (texture_ == nullptr) {
    const std::string error = WithSdlError("Die Bildausgabe kann nicht gestartet werden");
    CloseDisplay();
    throw RuntimeError(error);
  }
  frame_ = MakeSurface(kScreenWidth, kScreenHeight);

  // The window's icon is a gull on a see-through background.
  Surface gull = ImageSurface("7.pdk", 100, 50);
  gull.SetTransparentColor(format_.blue_mask);
  SDL_SetWindowIcon(window_, gull.Raw());

  SDL_StartTextInput();
  UpdateMouseConfinement();
}

void SdlPlatform::CloseDisplay() {
  frame_ = Surface();
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  texture_ = nullptr;
  renderer_ = nullptr;
  window_ = nullptr;
}

void SdlPlatform::Flip(const Surface& back_buffer, Rect visible) {
  if (renderer_ == nullptr) throw RuntimeError("Flip ohne geöffnete Anzeige");
  frame_.FillRect({}, 0);
  frame_.BlitImage(0, 0, back_buffer, visible, false);
  const SDL_Surface* pixels = frame_.Raw();
  if (SDL_UpdateTexture(texture_, nullptr, pixels->pixels, pixels->pitch) != 0 ||
      SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255) != 0 || SDL_RenderClear(renderer_) != 0 ||
      SDL_RenderCopy(renderer_, texture_, nullptr, nullptr) != 0) {
    throw RuntimeError(WithSdlError("Das Bild kann nicht gezeigt werden"));
  }
  PaceFrame();
  SDL_RenderPresent(renderer_);
}

// At most about 60 frames a second even where vsync is off or faster; waits
// by sleeping, not spinning.
void SdlPlatform::PaceFrame() {
  const Uint64 frequency = SDL_GetPerformanceFrequency();
  const Uint64 interval = frequency / kFramesPerSecond;
  const Uint64 now = SDL_GetPerformanceCounter();
  if (next_frame_ > now) {
    const Uint64 wait_ms = (next_frame_ - now) * 1000 / frequency;
    if (wait_ms > 0) SDL_Delay(static_cast<Uint32>(std::min<Uint64>(wait_ms, 100)));
  }
  // A late frame starts a new rhythm instead of rushing to catch up.
  next_frame_ = std::max(next_frame_, now) + interval;
  if (next_frame_ > now + 2 * interval) next_frame_ = now + interval;
}

bool SdlPlatform::DisplayLost() const {
  if (window_ == nullptr) return false;
  const Uint32 flags = SDL_GetWindowFlags(window_);
  return (flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) != 0;
}

void SdlPlatform::SetGameMode(bool in_game) {
  in_game_ = in_game;
  SDL_ShowCursor(in_game ? SDL_DISABLE : SDL_ENABLE);
  UpdateMouseConfinement();
}

void SdlPlatform::UpdateMouseConfinement() {
  if (window_ != nullptr)
    SDL_SetWindowGrab(window_, fullscreen_ || in_game_ ? SDL_TRUE : SDL_FALSE);
}

void SdlPlatform::ToggleFullscreen() {
  if (window_ == nullptr) return;
  const bool want = !fullscreen_;
  if (SDL_SetWindowFullscreen(window_, want ? Uint32{SDL_WINDOW_FULLSCREEN_DESKTOP} : 0u) != 0)
    return;
  fullscreen_ = want;
  UpdateMouseConfinement();
}

InputFrame SdlPlatform::SampleInput() {
  InputFrame frame;
  TakeEvents(frame);
  ReadKeys(frame);
  presses_.fill(0);
  frame.mouse = ReadMouse();
  frame.clock = kClockStart + Elapsed();
  frame.close_requested = quit_;
  frame.display_lost = DisplayLost();
  return frame;
}

// Every event since the last frame, in order: presses are counted, so a tap
// between two frames is never lost, and typed characters are kept in order.
void SdlPlatform::TakeEvents(InputFrame& frame) {
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    int pressed = -1;
    if (event.type == SDL_QUIT) {
      quit_ = true;
    } else if (event.type == SDL_KEYDOWN) {
      const SDL_Keysym& key = event.key.keysym;
      const bool enter = key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER;
      if (enter && (key.mod & KMOD_ALT) != 0) {
        if (event.key.repeat == 0) ToggleFullscreen();
        return_switched_window_ = true;
        continue;
      }
      if (event.key.repeat == 0) pressed = VirtualKeyOfScancode(key.scancode);
      if (const int c = ControlCharacterOfKey(key.sym); c >= 0) {
        frame.typed += static_cast<char>(c);
      }
    } else if (event.type == SDL_KEYUP) {
      const SDL_Keycode sym = event.key.keysym.sym;
      if (sym == SDLK_RETURN || sym == SDLK_KP_ENTER) return_switched_window_ = false;
    } else if (event.type == SDL_MOUSEBUTTONDOWN) {
      pressed = VirtualKeyOfMouseButton(event.button.button);
    } else if (event.type == SDL_TEXTINPUT) {
      frame.typed += Utf8ToCp1252(event.text.text);
    }
    if (pressed >= 0) {
      std::uint16_t& count = presses_[static_cast<std::size_t>(pressed)];
      if (count < UINT16_MAX) ++count;
    }
  }
}

void SdlPlatform::ReadKeys(InputFrame& frame) const {
  const Uint8* keys = SDL_GetKeyboardState(nullptr);
  const Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
  for (int code = 0; code < vk::kCount; ++code) {
    KeyState& key = frame.keys[static_cast<std::size_t>(code)];
    if (code == vk::kLeftButton) {
      key.down = (buttons & SDL_BUTTON_LMASK) != 0;
    } else if (code == vk::kRightButton) {
      key.down = (buttons & SDL_BUTTON_RMASK) != 0;
    } else if (const SDL_Scancode scancode = ScancodeOfVirtualKey(code);
               scancode != SDL_SCANCODE_UNKNOWN) {
      key.down = keys[scancode] != 0;
    }
    key.presses = presses_[static_cast<std::size_t>(code)];
  }
  KeyState& enter = frame.keys[vk::kReturn];
  enter.down = enter.down || keys[SDL_SCANCODE_KP_ENTER] != 0;
  if (return_switched_window_) enter = KeyState{};
}

Point SdlPlatform::ReadMouse() const {
  if (renderer_ == nullptr) return {0, 0};
  // Inside the window SDL knows the pointer; outside it, ask the desktop, so
  // the answer holds wherever the pointer is.
  int x = 0;
  int y = 0;
  if (SDL_GetMouseFocus() == window_) {
    SDL_GetMouseState(&x, &y);
  } else {
    int wx = 0;
    int wy = 0;
    SDL_GetGlobalMouseState(&x, &y);
    SDL_GetWindowPosition(window_, &wx, &wy);
    x -= wx;
    y -= wy;
  }
  float lx = 0;
  float ly = 0;
  SDL_RenderWindowToLogical(renderer_, x, y, &lx, &ly);
  const auto clamp = [](float v, int high) {
    return std::clamp(static_cast<int>(std::floor(std::clamp(v, -1.0f, 100000.0f))), 0, high);
  };
  return {clamp(lx, kScreenWidth - 1), clamp(ly, kScreenHeight - 1)};
}

SoundBuffer SdlPlatform::LoadSound(std::string_view asset) {
  // Watching a replay on a machine without sound: decoded, never played.
  if (!sound_open_ && Replaying()) return DecodeSound(asset);
  return LoadMixerSound(asset);
}

bool SdlPlatform::OpenSoundDeviceNow() {
  if (sound_open_) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  // A ring of channels: each effect plays on its own until the ring comes round.
  Mix_AllocateChannels(kSoundChannels);
  sound_open_ = true;
  return true;
}

void SdlPlatform::PlaySound(int channel, const SoundBuffer& sound) {
  CheckPlayable(channel, sound);
  if (!sound_open_ && Replaying()) return;
  if (sound->chunk == nullptr)
    throw RuntimeError("Der Klang wurde nicht für das Audiogerät geladen");
  if (!sound_open_) throw RuntimeError("Klang ohne geöffnetes Audiogerät");
  if (Mix_PlayChannel(channel, sound->chunk, 0) < 0) {
    throw RuntimeError(WithSdlError("Ein Klang kann nicht gespielt werden"));
  }
}

void SdlPlatform::ShowMessageBoxNow(std::string_view title, std::string_view text) {
  const std::string utf8_title = Cp1252ToUtf8(title);
  const std::string utf8_text = Cp1252ToUtf8(text);
  if (window_ != nullptr) SDL_SetWindowGrab(window_, SDL_FALSE);
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, utf8_title.c_str(), utf8_text.c_str(),
                               window_) != 0) {
    // No way to show it: at least the terminal hears of it.
    std::fprintf(stderr, "%s: %s\n", utf8_title.c_str(), utf8_text.c_str());
  }
  UpdateMouseConfinement();
}

}  // namespace

std::unique_ptr<Platform> MakeSdlPlatform(const SdlOptions& options) {
  return std::make_unique<SdlPlatform>(options);
}

}  // namespace mw
