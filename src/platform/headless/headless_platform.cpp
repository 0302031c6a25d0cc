#include "platform/headless/headless_platform.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>

#include "errors/runtime_error.h"
#include "platform/sdl/image_loading.h"
#include "platform/sdl/platform_folders.h"
#include "platform/sdl/sdl_surfaces.h"
#include "platform/sdl/sound_data.h"
#include "platform/sdl/text_engine.h"

namespace mw {
namespace {

constexpr std::int64_t kFrameInputTicks = 3;  // 0.01 ms
constexpr std::int64_t kPauseTicks = 300;     // 1 ms
constexpr std::int64_t kFrameTicks = 5000;    // 1000/60 ms
constexpr std::int64_t kTimeoutMs = 60'000;   // after the script's last event
constexpr int kScriptPad = 0;                 // a script plays with one pad

// The character a key types when it goes down, or -1.
int TypedBy(int virtual_key) {
  switch (virtual_key) {
    case vk::kBackspace:
    case vk::kTab:
    case vk::kReturn:
    case vk::kEscape:
    case vk::kSpace:
    case vk::kKey1:
    case vk::kKey2:
      return virtual_key;
    default:
      return -1;
  }
}

}  // namespace

HeadlessPlatform::HeadlessPlatform(Script script, HeadlessOptions options)
    : script_(std::move(script)),
      options_(std::move(options)),
      display_(held_.surfaces, options_.format),
      timeout_tick_(script_.LastTick() + kTimeoutMs * kTicksPerMs) {
  if (options_.format != kRgb565 && options_.format != kRgb555) {
    throw RuntimeError("Nur die Pixelformate 5-6-5 und 5-5-5 werden unterstützt");
  }
  display_.Open();
}

HeadlessPlatform::~HeadlessPlatform() = default;

void HeadlessPlatform::OpenDisplay() {}
void HeadlessPlatform::CloseDisplay() {}

void HeadlessPlatform::AdvanceTo(std::int64_t ticks) {
  ticks_ = ticks;
}

// Checked only where a frame is taken, so that a recording ends where the run
// stopped and its replay stops at the same place.
bool HeadlessPlatform::PastTheScript() const {
  return options_.stop_after_script && ticks_ > timeout_tick_;
}

void HeadlessPlatform::PressKey(int virtual_key) {
  if (virtual_key < 0 || virtual_key >= vk::kCount) return;
  KeyState& key = keys_[static_cast<std::size_t>(virtual_key)];
  key.down = true;
  if (key.presses < UINT16_MAX) ++key.presses;
  if (const int c = TypedBy(virtual_key); c >= 0) typed_ += static_cast<char>(c);
}

void HeadlessPlatform::ReleaseKey(int virtual_key) {
  if (virtual_key < 0 || virtual_key >= vk::kCount) return;
  keys_[static_cast<std::size_t>(virtual_key)].down = false;
}

void HeadlessPlatform::ApplyDueEvents() {
  while (next_event_ < script_.events.size() && script_.events[next_event_].tick <= ticks_) {
    const ScriptEvent& e = script_.events[next_event_++];
    switch (e.kind) {
      case ScriptEvent::Kind::kMouse:
        MoveMouse({e.a, e.b});
        break;
      case ScriptEvent::Kind::kDown:
        PressKey(e.a);
        break;
      case ScriptEvent::Kind::kUp:
        ReleaseKey(e.a);
        break;
      case ScriptEvent::Kind::kType:
        TypeText(e.text);
        break;
      case ScriptEvent::Kind::kLoseDisplay:
        lost_until_ = std::max(lost_until_, e.tick + e.a);
        break;
      case ScriptEvent::Kind::kShot:
        due_shots_.push_back(e.text);
        break;
      case ScriptEvent::Kind::kClose:
        RequestClose();
        break;
      case ScriptEvent::Kind::kTouchDown:
        hands_.FingerDown(e.a, {e.b, e.c});
        break;
      case ScriptEvent::Kind::kTouchMove:
        hands_.FingerMoved(e.a, {e.b, e.c});
        break;
      case ScriptEvent::Kind::kTouchUp:
        hands_.FingerUp(e.a);
        break;
      case ScriptEvent::Kind::kTouchCancel:
        hands_.FingersCancelled();
        break;
      case ScriptEvent::Kind::kPadDown:
      case ScriptEvent::Kind::kPadUp:
        hands_.PadButtonChanged(kScriptPad, static_cast<PadButton>(e.a),
                                e.kind == ScriptEvent::Kind::kPadDown);
        break;
      case ScriptEvent::Kind::kPadAxis:
        hands_.PadAxisMoved(kScriptPad, static_cast<PadAxis>(e.a),
                            static_cast<double>(e.b) / kAxisScale);
        break;
      case ScriptEvent::Kind::kPadPlug:
        hands_.PadPlugged(kScriptPad);
        break;
      case ScriptEvent::Kind::kPadUnplug:
        hands_.PadUnplugged(kScriptPad);
        break;
    }
  }
}

InputSample HeadlessPlatform::ReadInput() {
  AdvanceTo(ticks_ + kFrameInputTicks);
  if (PastTheScript()) {
    return {InputSample::Status::kScriptEnded,
            {},
            script_.file_name + ": das Programm läuft noch " + std::to_string(kTimeoutMs / 1000) +
                " s nach dem letzten Ereignis des Skripts",
            {}};
  }
  const std::int64_t clock = kClockStart + ticks_ / kTicksPerMs;
  // The sticks move the pointer up to now, then the script's events happen.
  hands_.AdvanceTo(clock);
  ApplyDueEvents();
  if (hook_) hook_(*this);
  InputSample sample;
  sample.requests.shots = std::move(due_shots_);
  due_shots_.clear();
  InputFrame& frame = sample.frame;
  frame.keys = keys_;
  for (KeyState& key : keys_) key.presses = 0;
  frame.mouse = {std::clamp(mouse_.x, 0, kPictureWidth - 1),
                 std::clamp(mouse_.y, 0, kPictureHeight - 1)};
  frame.clock = clock;
  frame.typed = std::move(typed_);
  typed_.clear();
  frame.close_requested = quit_;
  frame.display_lost = ticks_ < lost_until_;
  hands_.Apply(frame);
  return sample;
}

void HeadlessPlatform::Pause() {
  AdvanceTo(ticks_ + kPauseTicks);
}

void HeadlessPlatform::WaitForNextFrame() {
  AdvanceTo((ticks_ / kFrameTicks + 1) * kFrameTicks);
}

void HeadlessPlatform::Present(const Surface& back_buffer, Rect visible) {
  display_.Show(back_buffer, visible);
  ++frames_;
  for (const std::string& name : pending_shots_) TakeShot(name);
  pending_shots_.clear();
}

void HeadlessPlatform::TakeShot(const std::string& name) {
  if (options_.shots_dir.empty()) return;
  if (!options_.keep_shots) {
    WriteShot(name, display_.OnScreen());
    return;
  }
  kept_shots_.emplace_back(name, PictureOnScreen());
}

void HeadlessPlatform::WriteKeptShots() {
  for (const auto& [name, picture] : kept_shots_) WriteShot(name, picture);
  kept_shots_.clear();
}

void HeadlessPlatform::WriteShot(const std::string& name, const Surface& picture) const {
  const std::string path = options_.shots_dir + "/" + name + ".png";
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(SdlSurfaceOf(picture), SDL_PIXELFORMAT_RGB24, 0);
  if (rgb == nullptr) throw RuntimeError(WithSdlError("Bild " + path));
  const int result = IMG_SavePNG(rgb, path.c_str());
  SDL_FreeSurface(rgb);
  if (result != 0) {
    throw RuntimeError(WithSdlError("Das Bild \"" + path + "\" kann nicht geschrieben werden"));
  }
}

Colour HeadlessPlatform::FramePixel(int x, int y) const {
  Uint8 r = 0;
  Uint8 g = 0;
  Uint8 b = 0;
  SDL_GetRGB(display_.OnScreen().PixelAt(x, y), SdlSurfaceOf(display_.OnScreen())->format, &r, &g,
             &b);
  return Rgb(r, g, b);
}

LiveResources HeadlessPlatform::CountLiveResources() const {
  return held_.Count(&display_.Text(), 0);
}

void HeadlessPlatform::ForgetRenderedTexts() {
  display_.Text().ForgetRenderedTexts();
}

SoundBuffer HeadlessPlatform::LoadSound(std::string_view asset) {
  return DecodeSound(asset, held_.sounds.NewMark());
}

void HeadlessPlatform::PlaySound(int channel, const SoundBuffer& sound) {
  CheckPlayable(channel, sound);
  ++sound_plays_;
}

std::string HeadlessPlatform::ProgramFolder() {
  return ExecutableFolder();
}
std::string HeadlessPlatform::UserDataFolder() {
  return PerUserDataFolder();
}

std::string HeadlessPlatform::EnvironmentVariable(const std::string& name) {
  if (!options_.environment) return Platform::EnvironmentVariable(name);
  const auto found = options_.environment->find(name);
  if (found == options_.environment->end()) return {};
  return found->second;
}

std::unique_ptr<HeadlessPlatform> MakeHeadlessPlatform(Script script, HeadlessOptions options) {
  return std::make_unique<HeadlessPlatform>(std::move(script), std::move(options));
}

}  // namespace mw
