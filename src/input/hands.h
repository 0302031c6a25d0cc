#pragma once
// The player's hands beyond mouse and keyboard: game pads and fingers on a
// touch screen, turned into what a mouse and a keyboard give the game (the
// pointer's place, buttons and keys held and pressed, characters typed). Every
// platform feeds its pads and fingers in here and adds the result to the
// frame it samples, before the frame is recorded, so the game never learns
// which hands played and a recording replays the same everywhere.
//
// Pad: the left stick moves the pointer (the left trigger held: slowly), the
// right trigger and A are the left button, X the right one, the shoulders 1
// and 2, the D-pad and the right stick the arrow keys, Start Enter, Back
// Escape, and B Escape everywhere but in a running game. On a menu, up and
// down move the pointer to the next line's band while it rests in one. While
// a name is typed, up and down turn its last letter, the shoulders jump by
// groups of letters, A and right add a letter, B and left delete one.
//
// Finger: the first on the picture is the pointer and the left button (while
// a name is typed it presses nothing, so a tap can open a touch keyboard);
// more fingers move nothing. A finger lifted in a game leaves the pointer
// where the view does not scroll.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "drawing/drawing_types.h"
#include "input/held_keys.h"
#include "input/input_context.h"
#include "input/input_frame.h"
#include "input/name_letters.h"
#include "input/pad_controls.h"

namespace mw {

class Hands {
 public:
  // What the screen on top means by the hands, from the next press on.
  void SetContext(InputContext context);
  const InputContext& Context() const { return context_; }

  // The clock (as InputFrame::clock) moves on: the sticks move the pointer
  // for the time gone by, and held letter keys repeat. Events fed after it
  // happen at that time.
  void AdvanceTo(std::int64_t clock);

  // Pads, told apart by any number the platform likes. A pad's first event
  // plugs it in; pulling it out lets go of all it held.
  void PadPlugged(int pad);
  void PadUnplugged(int pad);
  void PadButtonChanged(int pad, PadButton button, bool down);
  // Sticks -1 to 1, triggers 0 to 1; values beyond are taken as the limit.
  void PadAxisMoved(int pad, PadAxis axis, double value);
  int PadCount() const { return static_cast<int>(pads_.size()); }

  // Fingers, told apart by the platform's numbers, at picture pixels.
  void FingerDown(int finger, Point at);
  void FingerMoved(int finger, Point at);
  void FingerUp(int finger);
  // The system took the touches away (a gesture, a call): every finger is up.
  void FingersCancelled();

  // Adds to a frame sampled from mouse and keyboard what the hands did since
  // the frame before: its clock first moves the sticks on. The pointer is
  // the mouse's place until a stick or a finger moves it, and the mouse's
  // again once the mouse moves.
  void Apply(InputFrame& frame);

 private:
  // What a control did when it went down, undone when it goes up.
  struct Hold {
    bool active = false;
    int key = -1;                      // a key held, or -1
    std::optional<NameEdit> repeated;  // a name edit repeated while held
    std::int64_t next_repeat = 0;
  };
  // The pad's buttons, then the right stick's four directions and the right
  // trigger, each pressed and let go like a button.
  static constexpr int kControlCount = kPadButtonCount + 5;
  struct Pad {
    int id = 0;
    std::array<Hold, kControlCount> holds{};
    std::array<double, kPadAxisCount> axes{};
  };

  Pad& PadOf(int id);
  void ControlChanged(Pad& pad, int control, bool down);
  void PressControl(Hold& hold, int control);
  void ReleaseHold(Hold& hold);
  void HoldKey(Hold& hold, int virtual_key);
  void EditName(NameEdit edit);
  void StepLine(int step, int arrow_key, Hold& hold);
  void SetPointer(Point at);
  void EndPointerFinger();
  Point PointerPixel() const;

  InputContext context_;
  std::vector<Pad> pads_;
  HeldKeys held_;
  std::string typed_;  // Windows-1252, since the last frame
  std::string name_;   // the name being typed, with what was typed since the context came
  // The pointer in 1/1024 pixels.
  std::int64_t pointer_x_ = kPictureWidth / 2 * 1024;
  std::int64_t pointer_y_ = kPictureHeight / 2 * 1024;
  std::optional<Point> device_mouse_;  // the mouse's place in the frame before
  std::optional<std::int64_t> clock_;
  std::optional<int> pointer_finger_;
  bool finger_pressed_ = false;
};

}  // namespace mw
