#pragma once
// One screen of the program: the main menu, the settings, a game, the high
// scores, a message box, or a wait. They stand on a stack, the main menu at
// the bottom; the loop hands each input sample to the screen on top, changes
// the stack as its step says, and draws the screen on top when the pass shows
// a picture. No screen reaches into another: a screen that opens one puts it
// on top, and a wait is handed what follows it.

#include <functional>
#include <memory>
#include <optional>

#include "app/run_state.h"
#include "drawing/drawing_types.h"
#include "game/game_pictures.h"
#include "game/sounds.h"
#include "input/input_context.h"
#include "input/input_frame.h"
#include "platform/platform.h"
#include "shared/outbox.h"
#include "shared/shell_pictures.h"

namespace mw {

// How a pass ends, as its step asks.
enum class PassEnd {
  kPresent,  // the screen on top is drawn and shown; the pacer starts the next pass
  kPause,    // a wait rests about a millisecond
  kGoOn,     // the next pass starts at once
};

// What the screens draw with and play, each kept as long as it is needed.
struct ScreenMedia {
  ShellPictures shell;  // from the display's opening to the end of the run
  GamePictures game;    // from a game's start to its end
  GameSounds sounds{};  // loaded at each game's set-up
  Surface box_canvas;   // a message box's picture, made with the first box
};

// What a step may use: the machine, the run's state, the media, and the
// outbox for what it asks of the loop (log lines, sounds, message boxes).
struct ScreenTools {
  Platform& platform;
  RunState& run;
  ScreenMedia& media;
  Outbox& out;
};

class Screen;
using ScreenPtr = std::unique_ptr<Screen>;

// What a step decided: how the pass ends and how the stack changes. The loop
// takes `pop` screens off the top (the stepping screen is the first), then
// puts `push` on top, then ends the program if asked.
struct Next {
  PassEnd end = PassEnd::kGoOn;
  int pop = 0;
  ScreenPtr push;
  bool end_program = false;
};

inline Next Stay(PassEnd end) {
  return Next{end, 0, nullptr, false};
}
inline Next Open(ScreenPtr screen, PassEnd end = PassEnd::kGoOn) {
  return Next{end, 0, std::move(screen), false};
}
inline Next EndProgram(int pop = 0) {
  return Next{PassEnd::kGoOn, pop, nullptr, true};
}

// What follows a wait, given the sample that ended it.
using Continuation = std::function<Next(ScreenTools&, const InputFrame&)>;

// The picture a pass shows: the visible 640x480 part of a surface.
struct Shown {
  const Surface* picture = nullptr;
  Rect visible{};
};

class Screen {
 public:
  Screen() = default;
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;
  virtual ~Screen() = default;

  // One pass with a sample.
  virtual Next Step(ScreenTools& tools, const InputFrame& input) = 0;
  // The display is back after it was lost in this screen's pass: the pass
  // goes on with the sample that ended the wait.
  virtual Next Resume(ScreenTools& tools, const InputFrame& input) { return Step(tools, input); }
  // Draws the screen from its state; nothing for a wait, which shows nothing.
  virtual std::optional<Shown> Draw(const RunState& run, ScreenMedia& media) const = 0;
  // What a pad's buttons and a finger mean here; nothing for a wait, which
  // stands for the screen below it.
  virtual std::optional<InputContext> HandsMeaning() const = 0;
};

// Leaving a screen that the main menu opened: the program ends after a close
// request, otherwise the menu shows itself once as it was left before it
// looks at input again.
inline Next BackToMenu(ScreenTools& tools, const InputFrame& input, int pop) {
  if (input.close_requested) return EndProgram(pop);
  tools.out.Log(ScreenEvent{"menu"});
  return Next{PassEnd::kPresent, pop, nullptr, false};
}

}  // namespace mw
