#include "input/hands.h"

#include <algorithm>
#include <cmath>

#include "input/stick_pointer.h"

namespace mw {
namespace {

// The controls after the pad's own buttons: the right stick's directions
// and the right trigger, pressed and let go like buttons.
constexpr int kStickUp = kPadButtonCount;
constexpr int kStickDown = kPadButtonCount + 1;
constexpr int kStickLeft = kPadButtonCount + 2;
constexpr int kStickRight = kPadButtonCount + 3;
constexpr int kRightTrigger = kPadButtonCount + 4;

// A trigger counts as pressed beyond an eighth of its travel, and as let go
// below a twelfth, so a trigger resting near the mark does not chatter.
constexpr double kTriggerDown = 0.12;
constexpr double kTriggerUp = 0.08;
// The right stick as arrow keys: past half its travel, let go below a third.
constexpr double kStickDownAt = 0.5;
constexpr double kStickUpAt = 0.35;
// A letter key held while a name is typed repeats after a while, then often.
constexpr std::int64_t kRepeatDelayMs = 400;
constexpr std::int64_t kRepeatMs = 110;
constexpr std::int64_t kLongestRepeatMs = 1000;
// After a stall (the program or the machine busy elsewhere) the stick moves
// the pointer as far as in a quarter of a second, not across the picture.
constexpr std::int64_t kLongestStepMs = 250;
// A press made before the first clock reading arms its repeat at that reading.
constexpr std::int64_t kArmAtNextClock = -1;

int Button(PadButton button) {
  return static_cast<int>(button);
}

enum class Direction { kNone, kUp, kDown, kLeft, kRight };

Direction DirectionOf(int control) {
  if (control == Button(PadButton::kDpadUp) || control == kStickUp) return Direction::kUp;
  if (control == Button(PadButton::kDpadDown) || control == kStickDown) return Direction::kDown;
  if (control == Button(PadButton::kDpadLeft) || control == kStickLeft) return Direction::kLeft;
  if (control == Button(PadButton::kDpadRight) || control == kStickRight) return Direction::kRight;
  return Direction::kNone;
}

std::optional<NameEdit> NameEditOf(int control) {
  switch (DirectionOf(control)) {
    case Direction::kUp:
      return NameEdit::kNextLetter;
    case Direction::kDown:
      return NameEdit::kPreviousLetter;
    case Direction::kLeft:
      return NameEdit::kDeleteLetter;
    case Direction::kRight:
      return NameEdit::kAddLetter;
    case Direction::kNone:
      break;
  }
  if (control == Button(PadButton::kA)) return NameEdit::kAddLetter;
  if (control == Button(PadButton::kB)) return NameEdit::kDeleteLetter;
  if (control == Button(PadButton::kLeftShoulder)) return NameEdit::kPreviousGroup;
  if (control == Button(PadButton::kRightShoulder)) return NameEdit::kNextGroup;
  return std::nullopt;
}

// A key held from a pad, or -1: what is the same on every screen.
int KeyOf(int control) {
  switch (DirectionOf(control)) {
    case Direction::kUp:
      return vk::kUp;
    case Direction::kDown:
      return vk::kDown;
    case Direction::kLeft:
      return vk::kLeft;
    case Direction::kRight:
      return vk::kRight;
    case Direction::kNone:
      break;
  }
  if (control == Button(PadButton::kA) || control == kRightTrigger) return vk::kLeftButton;
  if (control == Button(PadButton::kX)) return vk::kRightButton;
  if (control == Button(PadButton::kLeftShoulder)) return vk::kKey1;
  if (control == Button(PadButton::kRightShoulder)) return vk::kKey2;
  if (control == Button(PadButton::kStart)) return vk::kReturn;
  if (control == Button(PadButton::kBack)) return vk::kEscape;
  return -1;
}

double Clamped(double value, PadAxis axis) {
  if (!std::isfinite(value)) return 0;
  return std::clamp(value, IsTrigger(axis) ? 0.0 : -1.0, 1.0);
}

std::int64_t ClampedPointer(std::int64_t at, int pixels) {
  return std::clamp<std::int64_t>(at, 0, pixels * kSubpixels - 1);
}

}  // namespace

void Hands::SetContext(InputContext context) {
  context_ = std::move(context);
  // Everything typed before has reached the game, which says what the name is.
  name_ = context_.name;
}

void Hands::AdvanceTo(std::int64_t clock) {
  if (!clock_) {
    clock_ = clock;
    return;
  }
  const std::int64_t elapsed = clock - *clock_;
  if (elapsed <= 0) return;
  clock_ = clock;
  const std::int64_t moving = std::min(elapsed, kLongestStepMs);
  for (const Pad& pad : pads_) {
    const auto axis = [&pad](PadAxis a) { return pad.axes[static_cast<std::size_t>(a)]; };
    const StickVelocity velocity = VelocityOfStick(axis(PadAxis::kLeftX), axis(PadAxis::kLeftY),
                                                   axis(PadAxis::kLeftTrigger) > kTriggerDown);
    pointer_x_ = ClampedPointer(pointer_x_ + velocity.x * moving, kPictureWidth);
    pointer_y_ = ClampedPointer(pointer_y_ + velocity.y * moving, kPictureHeight);
  }
  if (context_.screen != InputContext::Screen::kNameEntry) return;
  for (Pad& pad : pads_) {
    for (Hold& hold : pad.holds) {
      if (!hold.repeated) continue;
      if (hold.next_repeat == kArmAtNextClock) hold.next_repeat = clock + kRepeatDelayMs;
      // A long stall repeats a few letters, not hundreds.
      hold.next_repeat = std::max(hold.next_repeat, clock - kLongestRepeatMs);
      for (; hold.next_repeat <= clock; hold.next_repeat += kRepeatMs) EditName(*hold.repeated);
    }
  }
}

Hands::Pad& Hands::PadOf(int id) {
  for (Pad& pad : pads_) {
    if (pad.id == id) return pad;
  }
  pads_.push_back(Pad{id, {}, {}});
  return pads_.back();
}

void Hands::PadPlugged(int pad) {
  PadOf(pad);
}

void Hands::PadUnplugged(int pad) {
  for (auto it = pads_.begin(); it != pads_.end(); ++it) {
    if (it->id != pad) continue;
    for (Hold& hold : it->holds) ReleaseHold(hold);
    pads_.erase(it);
    return;
  }
}

void Hands::PadButtonChanged(int pad, PadButton button, bool down) {
  const int control = Button(button);
  if (control >= kPadButtonCount) return;  // no button of a pad
  ControlChanged(PadOf(pad), control, down);
}

void Hands::PadAxisMoved(int pad, PadAxis axis, double value) {
  const auto a = static_cast<std::size_t>(axis);
  if (a >= static_cast<std::size_t>(kPadAxisCount)) return;
  Pad& p = PadOf(pad);
  value = Clamped(value, axis);
  p.axes[a] = value;
  // A control beyond its mark goes down, and up again only well inside it.
  const auto follow = [this, &p](int control, double lean, double down_at, double up_at) {
    const bool active = p.holds[static_cast<std::size_t>(control)].active;
    if (!active && lean > down_at) ControlChanged(p, control, true);
    if (active && lean < up_at) ControlChanged(p, control, false);
  };
  switch (axis) {
    case PadAxis::kRightTrigger:
      follow(kRightTrigger, value, kTriggerDown, kTriggerUp);
      break;
    case PadAxis::kRightX:
      follow(kStickLeft, -value, kStickDownAt, kStickUpAt);
      follow(kStickRight, value, kStickDownAt, kStickUpAt);
      break;
    case PadAxis::kRightY:
      follow(kStickUp, -value, kStickDownAt, kStickUpAt);
      follow(kStickDown, value, kStickDownAt, kStickUpAt);
      break;
    default:
      break;
  }
}

void Hands::ControlChanged(Pad& pad, int control, bool down) {
  Hold& hold = pad.holds[static_cast<std::size_t>(control)];
  if (down && !hold.active) PressControl(hold, control);
  if (!down && hold.active) ReleaseHold(hold);
}

void Hands::PressControl(Hold& hold, int control) {
  hold = Hold{};
  hold.active = true;
  const InputContext::Screen screen = context_.screen;
  if (screen == InputContext::Screen::kNameEntry) {
    if (const std::optional<NameEdit> edit = NameEditOf(control)) {
      EditName(*edit);
      if (*edit != NameEdit::kAddLetter && *edit != NameEdit::kNextGroup &&
          *edit != NameEdit::kPreviousGroup) {
        hold.repeated = edit;
        hold.next_repeat = clock_ ? *clock_ + kRepeatDelayMs : kArmAtNextClock;
      }
      return;
    }
  }
  if (control == Button(PadButton::kB)) {
    // A stray B must not end a running game.
    if (screen != InputContext::Screen::kGame) HoldKey(hold, vk::kEscape);
    return;
  }
  const Direction direction = DirectionOf(control);
  if (screen == InputContext::Screen::kMenu &&
      (direction == Direction::kUp || direction == Direction::kDown)) {
    StepLine(direction == Direction::kDown ? 1 : -1, KeyOf(control), hold);
    return;
  }
  HoldKey(hold, KeyOf(control));
}

void Hands::ReleaseHold(Hold& hold) {
  if (hold.key >= 0) held_.Release(hold.key);
  hold = Hold{};
}

// Enter and Escape type their characters, as a keyboard's do.
void Hands::HoldKey(Hold& hold, int virtual_key) {
  if (virtual_key < 0) return;
  hold.key = virtual_key;
  held_.Press(virtual_key);
  if (virtual_key == vk::kReturn || virtual_key == vk::kEscape) {
    typed_.push_back(static_cast<char>(virtual_key));
  }
}

void Hands::EditName(NameEdit edit) {
  const std::string typing = TypingForNameEdit(name_, edit, context_.name_limit);
  ApplyTypingToName(name_, typing, context_.name_limit);
  typed_ += typing;
}

// A menu chooses the line under the resting pointer on every pass, so the
// pointer itself moves to the next line; outside the lines the arrow key
// moves the selection as on a keyboard.
void Hands::StepLine(int step, int arrow_key, Hold& hold) {
  const LineBands& lines = context_.lines;
  const int line = lines.LineAt(PointerPixel().y);
  if (line == 0) {
    HoldKey(hold, arrow_key);
    return;
  }
  const int next = (line - 1 + step + lines.count) % lines.count + 1;
  pointer_y_ = ClampedPointer(std::int64_t{lines.Middle(next)} * kSubpixels + kSubpixels / 2,
                              kPictureHeight);
}

void Hands::SetPointer(Point at) {
  pointer_x_ = ClampedPointer(std::int64_t{at.x} * kSubpixels + kSubpixels / 2, kPictureWidth);
  pointer_y_ = ClampedPointer(std::int64_t{at.y} * kSubpixels + kSubpixels / 2, kPictureHeight);
}

Point Hands::PointerPixel() const {
  return {static_cast<std::int32_t>(pointer_x_ / kSubpixels),
          static_cast<std::int32_t>(pointer_y_ / kSubpixels)};
}

void Hands::FingerDown(int finger, Point at) {
  if (pointer_finger_) return;
  pointer_finger_ = finger;
  SetPointer(at);
  // While a name is typed a tap opens the touch keyboard; the left button
  // would leave the screen.
  finger_pressed_ = context_.screen != InputContext::Screen::kNameEntry;
  if (finger_pressed_) held_.Press(vk::kLeftButton);
}

void Hands::FingerMoved(int finger, Point at) {
  if (pointer_finger_ == finger) SetPointer(at);
}

void Hands::FingerUp(int finger) {
  if (pointer_finger_ == finger) EndPointerFinger();
}

void Hands::FingersCancelled() {
  if (pointer_finger_) EndPointerFinger();
}

// A finger at the picture's edge scrolls the view as the mouse does there;
// lifted, it leaves the pointer just inside, so the view stops.
void Hands::EndPointerFinger() {
  if (finger_pressed_) held_.Release(vk::kLeftButton);
  pointer_finger_.reset();
  if (context_.screen != InputContext::Screen::kGame) return;
  const Point at = PointerPixel();
  const std::int32_t calm = std::clamp(at.x, context_.calm_left, context_.calm_right);
  if (calm != at.x) SetPointer({calm, at.y});
}

void Hands::Apply(InputFrame& frame) {
  AdvanceTo(frame.clock);
  if (device_mouse_ != frame.mouse) {
    device_mouse_ = frame.mouse;
    SetPointer(frame.mouse);
  }
  frame.mouse = PointerPixel();
  held_.AddTo(frame);
  frame.typed += typed_;
  typed_.clear();
}

}  // namespace mw
