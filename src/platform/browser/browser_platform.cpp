// The platform in a browser's page: the picture shown on the page's canvas,
// the page's keys and mouse, fingers, touch buttons and game pads (through
// the hands every platform shares), the browser's audio through SDL2_mixer,
// and the files of /data kept in the browser's storage by the page. The
// page's own frames pace the passes, so nothing here waits.

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

#include "errors/runtime_error.h"
#include "input/hands.h"
#include "platform/browser/browser_input.h"
#include "platform/browser/browser_pads.h"
#include "platform/browser/browser_page.h"
#include "platform/browser/browser_touch.h"
#include "platform/browser/canvas_pixels.h"
#include "platform/os/local_time.h"
#include "platform/sdl/held_resources.h"
#include "platform/sdl/image_loading.h"
#include "platform/sdl/screenshot_file.h"
#include "platform/sdl/sdl_sound.h"
#include "platform/sdl/sdl_surfaces.h"
#include "platform/sdl/software_display.h"
#include "platform/sdl/sound_data.h"
#include "platform/sdl/text_engine.h"
#include "platform/window_platform.h"
#include "text/cp1252.h"

namespace mw {
namespace {

// The page keeps this folder in the browser's storage (or, where the browser
// keeps nothing, in memory for the visit).
constexpr const char* kKeptFolder = "/data/";

class BrowserPlatform : public Platform {
 public:
  BrowserPlatform() {
    if (SDL_Init(SDL_INIT_EVENTS) != 0) {
      throw RuntimeError(WithSdlError("SDL kann nicht gestartet werden"));
    }
    display_ = std::make_unique<SoftwareDisplay>(held_.surfaces, kRgb565);
    start_ms_ = PageClockMs();
  }
  ~BrowserPlatform() override {
    sound_.Close();
    display_.reset();
    SDL_Quit();
  }
  BrowserPlatform(const BrowserPlatform&) = delete;
  BrowserPlatform& operator=(const BrowserPlatform&) = delete;

  void OpenDisplay() override {
    display_->Open();
    if (!canvas_) {
      canvas_ = std::make_unique<CanvasPixels>(SdlSurfaceOf(display_->OnScreen())->format->format,
                                               kPictureWidth, kPictureHeight);
    }
    input_.Listen();
    open_ = true;
    ShowSystemCursor(false);
  }
  void CloseDisplay() override {
    open_ = false;
    ShowSystemCursor(true);
  }
  void KeepPictureOnScreen() override;
  PixelFormat DisplayFormat() const override { return display_->Format(); }
  Surface MakeSurface(int width, int height) override {
    return display_->MakeSurface(width, height);
  }
  Surface ImageSurface(std::string_view asset, int width, int height) override {
    return display_->ImageSurface(asset, width, height);
  }
  void Present(const Surface& back_buffer, Rect visible) override;
  Surface PictureOnScreen() override { return display_->PictureOnScreen(); }
  void RestoreSurfaces() override {}
  // The pointer belongs to the page: it scrolls the view beyond the picture.
  void SetGameMode(bool) override {}
  void SetMessageBoxMode(bool box_shown) override { ShowSystemCursor(box_shown); }
  void SetInputContext(const InputContext& context) override {
    hands_.SetContext(context);
    touch_.SetContext(context);
  }
  int TextWidth(const Font& font, std::string_view cp1252) override {
    return display_->TextWidth(font, cp1252);
  }
  int TextLineHeight(const Font& font) override { return display_->TextLineHeight(font); }
  // The canvas takes the picture's bytes: no texture.
  LiveResources CountLiveResources() const override { return held_.Count(&display_->Text(), 0); }
  // The browser calls the next frame; a wait samples again then.
  void WaitForNextFrame() override {}
  void Pause() override {}

  SoundBuffer LoadSound(std::string_view asset) override {
    return LoadMixerSound(asset, held_.sounds.NewMark());
  }
  void PlaySound(int channel, const SoundBuffer& sound) override { sound_.Play(channel, sound); }

  InputSample ReadInput() override {
    InputSample sample;
    const std::int64_t clock = kClockStart + static_cast<std::int64_t>(PageClockMs() - start_ms_);
    // The sticks move the pointer up to now, then the fingers and pads act.
    hands_.AdvanceTo(clock);
    if (touch_.Drain(hands_, input_)) close_requested_ = true;
    pads_.Poll(hands_);
    sample.frame = input_.Sample();
    sample.frame.clock = clock;
    sample.frame.close_requested = close_requested_;
    sample.requests.pictures_on_screen = input_.TakePicturesAsked();
    sample.frame.display_lost = PageHidden();
    touch_.AddTo(sample.frame);
    hands_.Apply(sample.frame);
    MarkFramePart(FramePart::kInputSampled);
    return sample;
  }
  bool OpenSoundDevice() override { return sound_.Open(); }
  bool MessageBoxInWindow(std::string_view title, std::string_view text) override;
  std::string ProgramFolder() override { return kKeptFolder; }
  std::string UserDataFolder() override { return kKeptFolder; }
  // A page has no environment of its own to read.
  std::string EnvironmentVariable(const std::string&) override { return {}; }
  std::string ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) override {
    std::string reason = Platform::ReplaceFile(path, bytes);
    if (reason.empty()) KeepFilesInBrowser();
    return reason;
  }

 private:
  HeldResources held_;
  std::unique_ptr<SoftwareDisplay> display_;  // the surfaces and the picture on the canvas
  std::unique_ptr<CanvasPixels> canvas_;
  BrowserInput input_;
  BrowserTouch touch_;
  BrowserPads pads_;
  Hands hands_;
  MixerSound sound_;
  double start_ms_ = 0;
  bool open_ = false;
  // Once asked (the page hidden while a name is typed), for good, as a
  // window's close request.
  bool close_requested_ = false;
  // The second of the last picture kept and how many were kept in it.
  std::time_t picture_second_ = -1;
  int pictures_in_second_ = 0;
};

void BrowserPlatform::Present(const Surface& back_buffer, Rect visible) {
  if (!open_) throw RuntimeError("Ein Bild ohne geöffnete Anzeige");
  MarkFramePart(FramePart::kPresentStarted);
  display_->Show(back_buffer, visible);
  // The canvas takes RGBA bytes, with each colour widened to 8 bits as in the
  // pictures a headless run writes.
  canvas_->Convert(*SdlSurfaceOf(display_->OnScreen()));
  MarkFramePart(FramePart::kPictureConverted);
  ShowPictureOnCanvas(canvas_->Rgba());
  MarkFramePart(FramePart::kPictureShown);
}

// F12: the picture on screen as a PNG download, named as the desktop names
// its files; the player's browser decides where it goes.
void BrowserPlatform::KeepPictureOnScreen() {
  if (!open_) return;
  std::vector<std::uint8_t> png;
  if (const std::string reason = EncodePng(display_->OnScreen(), png); !reason.empty()) {
    // The game goes on either way; only the console hears of it.
    std::fprintf(stderr, "moewenschuss: Das Bildschirmfoto kann nicht gemacht werden: %s\n",
                 reason.c_str());
    return;
  }
  const std::time_t now = std::time(nullptr);
  pictures_in_second_ = now == picture_second_ ? pictures_in_second_ + 1 : 1;
  picture_second_ = now;
  OfferDownload(ScreenshotName(LocalTimeOf(now), pictures_in_second_), png, "image/png");
}

bool BrowserPlatform::MessageBoxInWindow(std::string_view title, std::string_view text) {
  // The page shows its boxes on its canvas, drawn by the program.
  if (open_) return true;
  // Before the canvas is the program's: the browser's own box.
  const std::string message = Cp1252ToUtf8(title) + "\n\n" + Cp1252ToUtf8(text);
  ShowBrowserAlert(message.c_str());
  return false;
}

}  // namespace

std::unique_ptr<Platform> MakeWindowPlatform(const WindowOptions&) {
  if (!InBrowserPage()) {
    throw RuntimeError(
        "Kein Bildschirm gefunden: diese Ausgabe des Spiels läuft ohne Fenster nur mit "
        "--headless oder --replay mit --no-window");
  }
  return std::make_unique<BrowserPlatform>();
}

}  // namespace mw
