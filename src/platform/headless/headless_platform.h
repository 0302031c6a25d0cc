#pragma once
// The platform of a headless run: no window and no sound card. Time is
// virtual, input comes from a script, every shown frame is kept in memory (and
// written as PNG when the script asks), sounds are only counted.
//
// Time t starts at 0. Every input sample advances it by 0.01 ms, a Pause by
// 1 ms, and the wait after a presented picture to the next multiple of
// 1000/60 ms. A script event takes effect at the first input sample with
// t >= its time; the frame's clock reads 10000 + floor(t). Pads and fingers
// are turned into keys and the pointer as on every platform (Hands). Tests
// and bots can also work the keys and the mouse directly, before each sample
// through the input hook.

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "input/hands.h"
#include "platform/platform.h"
#include "platform/sdl/held_resources.h"
#include "platform/sdl/software_display.h"
#include "script/script.h"

namespace mw {

struct HeadlessOptions {
  std::string shots_dir;  // where `shot` writes its PNGs; empty: not written
  bool sound_device = true;
  PixelFormat format = kRgb565;
  // Ends the run 60 s of virtual time after the script's last event, so a
  // script that forgot to end the program cannot run for ever.
  bool stop_after_script = true;
  // Keeps the pictures in memory until WriteKeptShots, so that a replay that
  // fails half-way writes none.
  bool keep_shots = false;
  // Message boxes wait for the player as in a window, confirmed by the
  // script's input, instead of being confirmed at once.
  bool message_boxes_in_window = false;
  // The environment the program sees, when it is not the process's own (a
  // test's run that must not depend on where it runs).
  std::optional<std::map<std::string, std::string>> environment;
};

class HeadlessPlatform : public Platform {
 public:
  HeadlessPlatform(Script script, HeadlessOptions options);
  ~HeadlessPlatform() override;

  void OpenDisplay() override;
  void CloseDisplay() override;
  PixelFormat DisplayFormat() const override { return options_.format; }
  Surface MakeSurface(int width, int height) override {
    return display_.MakeSurface(width, height);
  }
  Surface ImageSurface(std::string_view asset, int width, int height) override {
    return display_.ImageSurface(asset, width, height);
  }
  void Present(const Surface& back_buffer, Rect visible) override;
  Surface PictureOnScreen() override { return display_.PictureOnScreen(); }
  void RestoreSurfaces() override {}
  void SetGameMode(bool in_game) override { in_game_ = in_game; }
  void SetMessageBoxMode(bool) override {}
  void SetInputContext(const InputContext& context) override { hands_.SetContext(context); }
  int TextWidth(const Font& font, std::string_view cp1252) override {
    return display_.TextWidth(font, cp1252);
  }
  int TextLineHeight(const Font& font) override { return display_.TextLineHeight(font); }
  LiveResources CountLiveResources() const override;
  // Empties the cache of rendered texts, so that what a long run measures is
  // what the program holds, not which strings it drew last.
  void ForgetRenderedTexts();
  void WaitForNextFrame() override;
  void Pause() override;

  SoundBuffer LoadSound(std::string_view asset) override;
  void PlaySound(int channel, const SoundBuffer& sound) override;

  // --- the player's hands, for tests and bots ---
  void PressKey(int virtual_key);  // goes down, typing its character
  void ReleaseKey(int virtual_key);
  void MoveMouse(Point screen_pixel) { mouse_ = screen_pixel; }
  void TypeText(std::string_view cp1252) { typed_.append(cp1252); }
  void RequestClose() { quit_ = true; }
  // Pads and fingers, as a script's pad and touch lines work them.
  Hands& PadsAndFingers() { return hands_; }
  void LoseDisplayFor(std::int64_t ticks) { lost_until_ = std::max(lost_until_, ticks_ + ticks); }
  // Called before every input sample is taken.
  void SetInputHook(std::function<void(HeadlessPlatform&)> hook) { hook_ = std::move(hook); }
  // Writes the pictures kept with keep_shots.
  void WriteKeptShots();

  // --- for tests ---
  std::int64_t NowTicks() const { return ticks_; }  // t in 1/300 ms
  double NowMs() const { return static_cast<double>(ticks_) / kTicksPerMs; }
  std::int64_t FramesShown() const { return frames_; }
  std::int64_t SoundPlays() const { return sound_plays_; }
  bool InGameMode() const { return in_game_; }
  // The last picture presented (640x480, black before the first).
  const Surface& Frame() const { return display_.OnScreen(); }
  // RGB of pixel (x, y) of the last frame shown.
  Colour FramePixel(int x, int y) const;

  InputSample ReadInput() override;
  void KeepNextPicture(const std::string& name) override { pending_shots_.push_back(name); }
  bool OpenSoundDevice() override { return options_.sound_device; }
  // Nobody is there to read a box: it is logged, and confirmed at once.
  bool MessageBoxInWindow(std::string_view, std::string_view) override {
    return options_.message_boxes_in_window;
  }
  std::string ProgramFolder() override;
  std::string UserDataFolder() override;
  std::string EnvironmentVariable(const std::string& name) override;

 private:
  void AdvanceTo(std::int64_t ticks);
  bool PastTheScript() const;
  void ApplyDueEvents();
  void TakeShot(const std::string& name);
  void WriteShot(const std::string& name, const Surface& picture) const;

  Script script_;
  HeadlessOptions options_;
  HeldResources held_;  // before the display, whose surfaces carry its marks
  SoftwareDisplay display_;
  std::int64_t ticks_ = 0;
  std::size_t next_event_ = 0;
  std::int64_t timeout_tick_ = 0;
  std::array<KeyState, vk::kCount> keys_{};  // presses since the last frame
  std::string typed_;                        // since the last frame
  std::function<void(HeadlessPlatform&)> hook_;
  Hands hands_;
  std::vector<std::pair<std::string, Surface>> kept_shots_;
  Point mouse_{};
  std::int64_t lost_until_ = 0;
  std::vector<std::string> due_shots_;      // `shot` lines of the sample being taken
  std::vector<std::string> pending_shots_;  // kept at the next picture presented
  std::int64_t frames_ = 0;
  std::int64_t sound_plays_ = 0;
  bool quit_ = false;
  bool in_game_ = false;
};

std::unique_ptr<HeadlessPlatform> MakeHeadlessPlatform(Script script, HeadlessOptions options);

}  // namespace mw
