#pragma once
// Everything a pass of a screen learns from outside, sampled once at the start
// of the pass: keys and buttons, the mouse, the clock, the typed characters,
// the close request and the display. A pass is a function of its state and
// this value, so reading it twice or in another order changes nothing, and a
// run is repeated exactly by feeding the same values again.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "drawing/drawing_types.h"
#include "input/virtual_keys.h"

namespace mw {

struct KeyState {
  bool down = false;          // held when the frame was sampled
  std::uint16_t presses = 0;  // times it went down since the frame before
  bool operator==(const KeyState&) const = default;
};

// The clock's first reading lies above this, so a mark of 0 is always past.
constexpr std::int64_t kClockStart = 10000;

struct InputFrame {
  std::array<KeyState, vk::kCount> keys{};
  Point mouse{};                     // screen pixels, 0..639 x 0..479
  std::int64_t clock = kClockStart;  // milliseconds, never falling
  std::string typed;                 // Windows-1252 codes in typing order
  bool close_requested = false;      // stays set once the window was asked to close
  bool display_lost = false;         // minimised, hidden, or full screen without focus

  // A key counts as down for a pass when it is held, or when it was pressed
  // since the frame before, however briefly.
  bool Down(int virtual_key) const {
    if (virtual_key < 0 || virtual_key >= vk::kCount) return false;
    const KeyState& key = keys[static_cast<std::size_t>(virtual_key)];
    return key.down || key.presses > 0;
  }
  // Presses made while the display was away must not act when it returns.
  void ForgetPresses(int virtual_key) {
    if (virtual_key >= 0 && virtual_key < vk::kCount)
      keys[static_cast<std::size_t>(virtual_key)].presses = 0;
  }
  // True when any of the keys counts as down for this pass.
  bool AnyDown(std::initializer_list<int> virtual_keys) const {
    for (const int key : virtual_keys) {
      if (Down(key)) return true;
    }
    return false;
  }
  bool operator==(const InputFrame&) const = default;
};

// One sample of the input: a frame, or why the run has none to give. The
// loop of the program takes every sample and decides what the reason means.
// What the player asked of the program beside the game since the sample
// before. It is no game input: the loop carries it out after the step. Only
// the pictures a headless script asked for are recorded, so that a replay
// takes them too.
struct SampleRequests {
  int pictures_on_screen = 0;      // F12 presses
  int window_switches = 0;         // Alt+Enter presses
  std::vector<std::string> shots;  // `shot NAME` lines now due

  bool operator==(const SampleRequests&) const = default;
};

struct InputSample {
  enum class Status {
    kFrame,
    kNotYet,           // a replay watched at its pace: the next frame's time has not come
    kStoppedWatching,  // Escape or a close request while a replay is watched
    kScriptEnded,      // headless: 60 s of virtual time after the script's last event
    kRecordingEnded,   // a replay's recording holds no frame here (see message)
  };
  Status status = Status::kFrame;
  InputFrame frame;
  std::string message;  // German, for kScriptEnded and kRecordingEnded
  SampleRequests requests;
};

}  // namespace mw
