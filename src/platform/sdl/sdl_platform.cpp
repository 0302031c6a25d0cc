#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

#include "errors/runtime_error.h"
#include "input/hands.h"
#include "platform/os/environment.h"
#include "platform/sdl/desktop.h"
#include "platform/sdl/held_resources.h"
#include "platform/sdl/image_loading.h"
#include "platform/sdl/platform_folders.h"
#include "platform/sdl/screenshot_file.h"
#include "platform/sdl/sdl_game_window.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_pads.h"
#include "platform/sdl/sdl_sound.h"
#include "platform/sdl/sdl_surfaces.h"
#include "platform/sdl/software_display.h"
#include "platform/sdl/sound_data.h"
#include "platform/sdl/text_engine.h"
#include "platform/window_platform.h"
#include "text/cp1252.h"

namespace mw {
namespace {

constexpr Uint64 kFramesPerSecond = 60;

class SdlPlatform : public Platform {
 public:
  explicit SdlPlatform(const WindowOptions& options);
  ~SdlPlatform() override;
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  void OpenDisplay() override;
  void CloseDisplay() override;
  PixelFormat DisplayFormat() const override { return display_->Format(); }
  Surface MakeSurface(int width, int height) override {
    return display_->MakeSurface(width, height);
  }
  Surface ImageSurface(std::string_view asset, int width, int height) override {
    return display_->ImageSurface(asset, width, height);
  }
  void Present(const Surface& back_buffer, Rect visible) override;
  Surface PictureOnScreen() override { return display_->PictureOnScreen(); }
  void RestoreSurfaces() override {}  // software surfaces lose nothing
  void SetGameMode(bool in_game) override;
  void SetMessageBoxMode(bool box_shown) override;
  void SetInputContext(const InputContext& context) override;
  int TextWidth(const Font& font, std::string_view cp1252) override {
    return display_->TextWidth(font, cp1252);
  }
  int TextLineHeight(const Font& font) override { return display_->TextLineHeight(font); }
  LiveResources CountLiveResources() const override {
    return held_.Count(&display_->Text(), window_ ? window_->TextureCount() : 0);
  }
  void WaitForNextFrame() override;
  void Pause() override { SDL_Delay(1); }

  SoundBuffer LoadSound(std::string_view asset) override;
  void PlaySound(int channel, const SoundBuffer& sound) override;

  InputSample ReadInput() override;
  void KeepPictureOnScreen() override;
  void SwitchWindowMode() override;
  bool OpenSoundDevice() override;
  bool MessageBoxInWindow(std::string_view title, std::string_view text) override;
  std::string ProgramFolder() override { return ExecutableFolder(); }
  std::string UserDataFolder() override { return PerUserDataFolder(); }

 private:
  void TakeEvents(InputSample& sample);
  // The game's pointer where a pad or a finger moved it away from the mouse.
  std::optional<Point> HandsPointer() const;
  void ReadKeys(InputFrame& frame) const;
  std::int64_t Elapsed() const;

  WindowOptions options_;
  HeldResources held_;
  Uint64 start_ms_ = 0;
  std::unique_ptr<SoftwareDisplay> display_;  // the surfaces and the picture on screen
  std::unique_ptr<GameWindow> window_;
  bool fullscreen_ = true;
  bool in_game_ = false;
  bool quit_ = false;
  MixerSound sound_;
  Hands hands_;
  Point device_mouse_{};  // the last frame's mouse, before the hands moved it
  Point game_mouse_{};    // and after
  std::unique_ptr<SdlPads> pads_;
  bool text_input_ = false;
  std::array<std::uint16_t, vk::kCount> presses_{};  // since the last frame
  // Enter that went down as part of Alt+Enter stays out of the game until it
  // is let go: the switch of the window is all it does.
  bool return_switched_window_ = false;
  Uint64 next_frame_ = 0;  // performance-counter time of the next frame
};

bool IsSet(const char* variable) {
  const std::optional<std::string> value = ReadEnvironment(variable);
  return value && !value->empty();
}

SdlPlatform::SdlPlatform(const WindowOptions& options) : options_(options) {
  // Without X11 or Wayland SDL would quietly fall back to an invisible
  // off-screen driver, and the game would run where nobody can see it. Only
  // the console driver remains worth trying then, unless a driver was asked for.
  const bool driver_asked_for = IsSet("SDL_VIDEODRIVER");
  const bool no_desktop = !DesktopNamedInEnvironment();
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
    display_ = std::make_unique<SoftwareDisplay>(held_.surfaces, kRgb565);
    pads_ = std::make_unique<SdlPads>(start_ms_);
  } catch (...) {
    display_.reset();
    SDL_Quit();
    throw;
  }
  fullscreen_ = !options_.windowed;
}

SdlPlatform::~SdlPlatform() {
  CloseDisplay();
  sound_.Close();
  display_.reset();
  pads_.reset();
  SDL_Quit();
}

std::int64_t SdlPlatform::Elapsed() const {
  return static_cast<std::int64_t>(SDL_GetTicks64() - start_ms_);
}

void SdlPlatform::OpenDisplay() {
  if (window_ != nullptr) return;
  window_ = std::make_unique<GameWindow>(fullscreen_);
  display_->SetFormat(window_->Format());
  display_->Open();

  // Every screen draws the game's own cursor: the system's would be a second.
  SDL_ShowCursor(SDL_DISABLE);
  // Text input starts only while a name is typed: on a handheld PC it opens
  // the system's on-screen keyboard.
  if (text_input_) {
    SDL_StartTextInput();
  } else {
    SDL_StopTextInput();
  }
  window_->SetInGame(in_game_);
}

void SdlPlatform::CloseDisplay() {
  display_->Close();
  if (window_ == nullptr) return;
  fullscreen_ = window_->Fullscreen();
  window_.reset();
  SDL_ShowCursor(SDL_ENABLE);
}

void SdlPlatform::Present(const Surface& back_buffer, Rect visible) {
  if (window_ == nullptr) throw RuntimeError("Ein Bild ohne geöffnete Anzeige");
  display_->Show(back_buffer, visible);
  window_->Present(display_->OnScreen());
}

// At most about 60 frames a second even where vsync is off or faster; waits
// by sleeping, not spinning.
void SdlPlatform::WaitForNextFrame() {
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

void SdlPlatform::SetGameMode(bool in_game) {
  in_game_ = in_game;
  if (window_ != nullptr) window_->SetInGame(in_game);
}

InputSample SdlPlatform::ReadInput() {
  InputSample sample;
  InputFrame& frame = sample.frame;
  TakeEvents(sample);
  ReadKeys(frame);
  presses_.fill(0);
  if (window_ != nullptr) {
    window_->Settle();
    frame.mouse = window_->Pointer();
    frame.display_lost = window_->Lost();
  }
  frame.clock = kClockStart + Elapsed();
  frame.close_requested = quit_;
  device_mouse_ = frame.mouse;
  hands_.Apply(frame);
  game_mouse_ = frame.mouse;
  return sample;
}

// Every event since the last frame, in order: presses are counted, so a tap
// between two frames is never lost, and typed characters are kept in order.
void SdlPlatform::TakeEvents(InputSample& sample) {
  InputFrame& frame = sample.frame;
  SDL_Event event;
  bool show_again = false;
  while (SDL_PollEvent(&event) != 0) {
    if (pads_->Take(event, hands_)) continue;
    int pressed = -1;
    if (event.type == SDL_QUIT) {
      quit_ = true;
    } else if (event.type == SDL_KEYDOWN) {
      const SDL_Keysym& key = event.key.keysym;
      const bool enter = key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER;
      // F12 and Alt+Enter are no game input and not recorded: the loop
      // carries them out after the step.
      if (key.scancode == SDL_SCANCODE_F12) {
        if (event.key.repeat == 0) ++sample.requests.pictures_on_screen;
        continue;
      }
      if (enter && (key.mod & KMOD_ALT) != 0) {
        if (event.key.repeat == 0) ++sample.requests.window_switches;
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
    } else if (event.type == SDL_MOUSEMOTION) {
      if (window_ != nullptr) window_->NotePointerSeen();
    } else if (event.type == SDL_WINDOWEVENT) {
      const Uint8 what = event.window.event;
      if (window_ != nullptr &&
          (what == SDL_WINDOWEVENT_MOVED || what == SDL_WINDOWEVENT_SIZE_CHANGED ||
           what == SDL_WINDOWEVENT_SHOWN || what == SDL_WINDOWEVENT_RESTORED ||
           what == SDL_WINDOWEVENT_MAXIMIZED)) {
        window_->NoteGeometryChanged();
        show_again = true;
      }
      if (what == SDL_WINDOWEVENT_EXPOSED) show_again = true;
    } else if (event.type == SDL_TEXTINPUT) {
      frame.typed += Utf8ToCp1252(event.text.text);
    }
    if (pressed >= 0) {
      std::uint16_t& count = presses_[static_cast<std::size_t>(pressed)];
      if (count < UINT16_MAX) ++count;
    }
  }
  // A window that changed its size or place still shows the picture laid out
  // for the old one (a corner of it, or a piece in the corner) until the next
  // frame: the picture on screen is shown again at once in the new layout.
  if (show_again && window_ != nullptr) window_->ShowAgain(display_->OnScreen());
}

std::optional<Point> SdlPlatform::HandsPointer() const {
  if (game_mouse_ == device_mouse_) return std::nullopt;
  return game_mouse_;
}

void SdlPlatform::SwitchWindowMode() {
  if (window_ == nullptr) return;
  window_->ToggleFullscreen(display_->OnScreen(), HandsPointer());
  window_->ShowAgain(display_->OnScreen());
}

void SdlPlatform::KeepPictureOnScreen() {
  if (!display_->IsOpen()) return;
  const ScreenshotResult saved = SaveScreenshot(display_->OnScreen());
  // The game goes on either way; only the terminal hears of it.
  if (saved.reason.empty()) {
    std::printf("Bildschirmfoto gespeichert: %s\n", saved.path.c_str());
    std::fflush(stdout);
  } else {
    std::fprintf(stderr, "moewenschuss: Bildschirmfoto nicht gespeichert%s%s: %s\n",
                 saved.path.empty() ? "" : " als ", saved.path.c_str(), saved.reason.c_str());
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

SoundBuffer SdlPlatform::LoadSound(std::string_view asset) {
  // Watching a replay on a machine without sound: decoded, never played.
  if (!sound_.IsOpen()) return DecodeSound(asset, held_.sounds.NewMark());
  return LoadMixerSound(asset, held_.sounds.NewMark());
}

bool SdlPlatform::OpenSoundDevice() {
  return sound_.Open();
}

void SdlPlatform::PlaySound(int channel, const SoundBuffer& sound) {
  CheckPlayable(channel, sound);
  // Watching a replay on a machine without sound: decoded, never played.
  if (!sound_.IsOpen()) return;
  sound_.Play(channel, sound);
}

void SdlPlatform::SetInputContext(const InputContext& context) {
  hands_.SetContext(context);
  const bool typing = context.screen == InputContext::Screen::kNameEntry;
  if (typing == text_input_) return;
  text_input_ = typing;
  if (typing) {
    SDL_StartTextInput();
  } else {
    SDL_StopTextInput();
  }
}

void SdlPlatform::SetMessageBoxMode(bool box_shown) {
  if (window_ == nullptr) return;
  // The game draws no cursor of its own in a box: the system's shows, and
  // the pointer is free to leave the window.
  if (box_shown) {
    window_->ReleasePointer();
    SDL_ShowCursor(SDL_ENABLE);
  } else {
    SDL_ShowCursor(SDL_DISABLE);
    window_->SetInGame(in_game_);
  }
}

bool SdlPlatform::MessageBoxInWindow(std::string_view title, std::string_view text) {
  // The game's window shows its boxes itself.
  if (window_ != nullptr) return true;
  // No window of ours to draw in (before the display opens or after it
  // closed): SDL's own box.
  const std::string utf8_title = Cp1252ToUtf8(title);
  const std::string utf8_text = Cp1252ToUtf8(text);
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, utf8_title.c_str(), utf8_text.c_str(),
                               nullptr) != 0) {
    // No way to show it: at least the terminal hears of it.
    std::fprintf(stderr, "%s: %s\n", utf8_title.c_str(), utf8_text.c_str());
  }
  return false;
}

}  // namespace

std::unique_ptr<Platform> MakeWindowPlatform(const WindowOptions& options) {
  return std::make_unique<SdlPlatform>(options);
}

}  // namespace mw
