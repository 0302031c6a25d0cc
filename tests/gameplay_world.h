#pragma once
// A game world for the gameplay tests: a platform whose keys, mouse and sound
// plays the test controls and records directly, a real 840x580 BackBuffer, and
// the game state as a game's set-up leaves it.

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "game/game_state.h"
#include "game/phases.h"
#include "platform/platform.h"

namespace mw::testing {

class HandPlatform : public Platform {
 public:
  std::set<int> held;  // keys and buttons down
  Point mouse{320, 240};
  std::vector<int> sounds;  // effect numbers in the order played

  void OpenDisplay() override {}
  void CloseDisplay() override {}
  PixelFormat DisplayFormat() const override { return kRgb565; }
  Surface MakeSurface(int width, int height) override {
    return Surface(SDL_CreateRGBSurfaceWithFormat(0, width, height, 16, SDL_PIXELFORMAT_RGB565),
                   nullptr);
  }
  Surface ImageSurface(std::string_view, int width, int height) override {
    return MakeSurface(width, height);
  }
  void Flip(const Surface&, Rect) override {}
  int DisplayStatus() override { return 0; }
  void RestoreSurfaces() override {}
  void SetGameMode(bool) override {}
  void Yield() override {}
  bool KeyDown(int virtual_key) override { return held.count(virtual_key) != 0; }
  Point MousePosition() override { return mouse; }
  std::int64_t ReadClock() override { return 20000; }
  bool QuitRequested() override { return false; }
  bool OpenSoundDevice() override { return true; }
  // The sound code only hands the buffer back to PlaySound, so a handle that
  // carries the effect number is all a test needs.
  SoundBuffer LoadSound(std::string_view asset) override {
    auto number = std::make_shared<int>(std::stoi(std::string(asset)) - 20);
    if (*number >= 2) ++*number;  // effect 2 has no sound
    return SoundBuffer(number, reinterpret_cast<const SoundData*>(number.get()));
  }
  void PlaySound(int, const SoundBuffer& sound) override {
    sounds.push_back(*reinterpret_cast<const int*>(sound.get()));
  }
  void ShowMessageBox(std::string_view, std::string_view) override {}
  std::string ProgramFolder() override { return "./"; }
  std::string UserDataFolder() override { return ""; }
};

struct Shown {
  std::int32_t x;
  std::int32_t y;
  std::string text;
  bool operator==(const Shown&) const = default;
};

struct World {
  HandPlatform platform;
  Modul modul;
  DisplayState display;
  GameState game{modul};
  FrameState frame;
  GameContext ctx{platform, modul, display, game, frame};

  World() {
    OpenSounds(platform, game);
    MakeGameBackBuffer(platform, display, game);
    game.Score.SetValue(0);
    game.ViewX.SetValue(640);
    game.Cartridges.SetValue(8);
    game.MpSpeed.SetValue(10);
    game.SplatChance.SetValue(5);
    game.Weapon = 1;
    // A ship far off to the left, where no shot on screen reaches it.
    game.ShipX = -200;
    game.ShipDistance = 3;
  }

  // One frame of the gameplay phases, in frame order.
  void Frame(bool step = false) {
    frame.StepDue = step;
    WeaponPhase(ctx);
    GullPhase(ctx);
    ShipPhase(ctx);
  }
  void Steps(int n) {
    for (int i = 0; i < n; ++i) Frame(true);
  }
  // A rifle click: pressed for one frame, then released for one.
  void Click(Point at, int button = vk::kLeftButton) {
    platform.mouse = at;
    platform.held.insert(button);
    Frame();
    platform.held.erase(button);
    Frame();
  }

  // The messages shown since the ring was last at `since` (oldest first).
  std::vector<Shown> MessagesSince(std::int32_t since) const {
    std::vector<Shown> out;
    for (std::int32_t i = since; i != game.MessageIndex;) {
      i = (i + 1) % 10;
      const MessageSlot& slot = game.Messages[static_cast<std::size_t>(i)];
      out.push_back({slot.X, slot.Y, slot.Text});
    }
    return out;
  }

  // Adds a flying gull and returns its index (entry 0 is never used).
  std::size_t AddGull(std::int16_t x, std::int16_t y, std::int16_t distance) {
    if (game.Gulls.empty()) game.Gulls.emplace_back();
    Gull g;
    g.X = x;
    g.Y = y;
    g.Distance = distance;
    g.Frame = 1;
    game.Gulls.push_back(g);
    return game.Gulls.size() - 1;
  }
};

}  // namespace mw::testing
