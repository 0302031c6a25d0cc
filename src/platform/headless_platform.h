#pragma once
// The platform of a headless run: no window and no sound card. Time is
// virtual, input comes from a script, every shown frame is kept in memory (and
// written as PNG when the script asks), sounds are only counted.
//
// Time t starts at 0. Every query (KeyDown, MousePosition, ReadClock,
// DisplayStatus, Yield) advances it by 0.01 ms; Flip advances it to the next
// multiple of 1000/60 ms. A script event takes effect at the first query with
// t >= its time. Typed characters reach the key-press handler one per Yield.

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/script.h"

namespace mw {

class TextEngine;

// The program still ran 60 s of virtual time after the script's last event.
class HeadlessTimeout : public std::runtime_error {
 public:
  explicit HeadlessTimeout(const std::string& what) : std::runtime_error(what) {}
};

struct HeadlessOptions {
  std::string shots_dir;  // where `shot` writes its PNGs; empty: not written
  bool sound_device = true;
  PixelFormat format = kRgb565;
};

class HeadlessPlatform : public Platform {
 public:
  HeadlessPlatform(Script script, HeadlessOptions options);
  ~HeadlessPlatform() override;

  void OpenDisplay() override;
  void CloseDisplay() override;
  PixelFormat DisplayFormat() const override { return options_.format; }
  Surface MakeSurface(int width, int height) override;
  Surface ImageSurface(std::string_view asset, int width, int height) override;
  void Flip(const Surface& back_buffer, Rect visible) override;
  int DisplayStatus() override;
  void RestoreSurfaces() override {}
  void SetGameMode(bool in_game) override { in_game_ = in_game; }

  void Yield() override;
  bool KeyDown(int virtual_key) override;
  Point MousePosition() override;
  std::int64_t ReadClock() override;
  bool QuitRequested() override { return quit_; }

  bool OpenSoundDevice() override { return options_.sound_device; }
  SoundBuffer LoadSound(std::string_view asset) override;
  void PlaySound(int channel, const SoundBuffer& sound) override;

  void ShowMessageBox(std::string_view title, std::string_view text) override;

  std::string ProgramFolder() override;
  std::string UserDataFolder() override;

  // --- for tests ---
  std::int64_t NowTicks() const { return ticks_; }  // t in 1/300 ms
  double NowMs() const { return static_cast<double>(ticks_) / kTicksPerMs; }
  std::int64_t FramesShown() const { return frames_; }
  std::int64_t SoundPlays() const { return sound_plays_; }
  bool InGameMode() const { return in_game_; }
  // The last frame shown (640x480, black before the first Flip).
  const Surface& Frame() const { return frame_; }
  // RGB of pixel (x, y) of the last frame shown.
  Colour FramePixel(int x, int y) const;

 private:
  void Query();
  void AdvanceTo(std::int64_t ticks);
  void ApplyDueEvents();
  void WriteShot(const std::string& name);

  Script script_;
  HeadlessOptions options_;
  std::unique_ptr<TextEngine> text_;
  Surface frame_;
  std::int64_t ticks_ = 0;
  std::size_t next_event_ = 0;
  std::int64_t timeout_tick_ = 0;
  std::array<bool, vk::kCount> down_{};
  std::array<bool, vk::kCount> pressed_{};  // latched until the next KeyDown
  std::deque<char> typed_;
  Point mouse_{};
  std::int64_t lost_until_ = 0;
  std::vector<std::string> pending_shots_;
  std::int64_t frames_ = 0;
  std::int64_t sound_plays_ = 0;
  bool quit_ = false;
  bool in_game_ = false;
};

std::unique_ptr<HeadlessPlatform> MakeHeadlessPlatform(Script script, HeadlessOptions options);

}  // namespace mw
