#pragma once
// The script of a headless run: what the player does, and when.
//
// One event per line: `TIME COMMAND ARGS`. TIME is the virtual time in
// milliseconds, a non-negative decimal number (e.g. 250 or 12.5), never less
// than the time of the line before. `#` starts a comment; blank lines are
// allowed. Commands: mouse X Y, down NAME, up NAME, press NAME, type TEXT,
// char N, lose-display MS, shot NAME, close; a finger on the picture:
// touch-down N X Y, touch-move N X Y, touch-up N, touch-cancel; a game pad:
// pad-down NAME, pad-up NAME, pad-press NAME, pad-axis NAME VALUE, pad-plug,
// pad-unplug.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace mw {

// A bad script; what() is "FILE:LINE: message".
class ScriptError : public std::runtime_error {
 public:
  explicit ScriptError(const std::string& what) : std::runtime_error(what) {}
};

// Virtual time is counted in ticks of 1/300 ms, so that both a query step
// (0.01 ms) and a frame (1000/60 ms) are whole numbers of ticks.
constexpr std::int64_t kTicksPerMs = 300;

struct ScriptEvent {
  enum class Kind {
    kMouse,
    kDown,
    kUp,
    kType,
    kLoseDisplay,
    kShot,
    kClose,
    kTouchDown,
    kTouchMove,
    kTouchUp,
    kTouchCancel,
    kPadDown,
    kPadUp,
    kPadAxis,
    kPadPlug,
    kPadUnplug,
  };
  std::int64_t tick = 0;  // takes effect at the first query with t >= tick
  Kind kind = Kind::kClose;
  // x, virtual key, lost time in ticks, finger, pad button or pad axis
  int a = 0;
  int b = 0;         // y, or a finger's x, or a pad axis's value in millionths
  int c = 0;         // a finger's y
  std::string text;  // typed Windows-1252 characters, or the shot's name
  int line = 0;
};

struct Script {
  std::string file_name;
  std::vector<ScriptEvent> events;  // in the order they take effect
  std::int64_t LastTick() const { return events.empty() ? 0 : events.back().tick; }
};

// Parses script text (UTF-8); throws ScriptError naming FILE:LINE.
Script ParseScript(std::string_view text, const std::string& file_name);

// A pad axis's value in the script's millionths.
constexpr int kAxisScale = 1'000'000;

// The virtual key of a NAME (mouse-left, enter, vk-N, ...), or -1.
int VirtualKeyOfName(std::string_view name);

}  // namespace mw
