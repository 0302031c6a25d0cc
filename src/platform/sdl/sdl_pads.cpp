#include "platform/sdl/sdl_pads.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "input/input_frame.h"

namespace mw {
namespace {

// SDL's guide button (it belongs to the system), misc, paddles and touchpad
// press nothing.
std::optional<PadButton> PadButtonOf(Uint8 button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
      return PadButton::kA;
    case SDL_CONTROLLER_BUTTON_B:
      return PadButton::kB;
    case SDL_CONTROLLER_BUTTON_X:
      return PadButton::kX;
    case SDL_CONTROLLER_BUTTON_Y:
      return PadButton::kY;
    case SDL_CONTROLLER_BUTTON_BACK:
      return PadButton::kBack;
    case SDL_CONTROLLER_BUTTON_START:
      return PadButton::kStart;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
      return PadButton::kLeftShoulder;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
      return PadButton::kRightShoulder;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      return PadButton::kDpadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      return PadButton::kDpadDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      return PadButton::kDpadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      return PadButton::kDpadRight;
    case SDL_CONTROLLER_BUTTON_LEFTSTICK:
      return PadButton::kLeftStick;
    case SDL_CONTROLLER_BUTTON_RIGHTSTICK:
      return PadButton::kRightStick;
    default:
      return std::nullopt;
  }
}

std::optional<PadAxis> PadAxisOf(Uint8 axis) {
  switch (axis) {
    case SDL_CONTROLLER_AXIS_LEFTX:
      return PadAxis::kLeftX;
    case SDL_CONTROLLER_AXIS_LEFTY:
      return PadAxis::kLeftY;
    case SDL_CONTROLLER_AXIS_RIGHTX:
      return PadAxis::kRightX;
    case SDL_CONTROLLER_AXIS_RIGHTY:
      return PadAxis::kRightY;
    case SDL_CONTROLLER_AXIS_TRIGGERLEFT:
      return PadAxis::kLeftTrigger;
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT:
      return PadAxis::kRightTrigger;
    default:
      return std::nullopt;
  }
}

// Sticks -32768..32767 become -1..1 with both ends reached; triggers rest at
// 0 and end at 32767.
double AxisValue(Sint16 raw) {
  return raw < 0 ? raw / 32768.0 : raw / 32767.0;
}

}  // namespace

SdlPads::SdlPads(Uint64 start_ms) : start_ms_(start_ms) {
  // SDL reads SDL_GAMECONTROLLERCONFIG itself here: a player's own mappings
  // come before its built-in ones, and nothing of ours overrides them.
  started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  if (!started_) {
    std::fprintf(stderr,
                 "moewenschuss: Gamepads sind nicht nutzbar (%s); Maus und Tastatur "
                 "funktionieren weiter\n",
                 SDL_GetError());
  }
}

SdlPads::~SdlPads() {
  for (const OpenPad& pad : open_) SDL_GameControllerClose(pad.controller);
  if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool SdlPads::Take(const SDL_Event& event, Hands& hands) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
      hands.AdvanceTo(ClockOf(event));
      Open(event.cdevice.which, hands);
      return true;
    case SDL_CONTROLLERDEVICEREMOVED:
      hands.AdvanceTo(ClockOf(event));
      Close(event.cdevice.which, hands);
      return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      const std::optional<PadButton> button = PadButtonOf(event.cbutton.button);
      // Only a pad that is open: none that was pulled out can hold a key.
      if (!button || !IsOpen(event.cbutton.which)) return true;
      hands.AdvanceTo(ClockOf(event));
      hands.PadButtonChanged(event.cbutton.which, *button, event.type == SDL_CONTROLLERBUTTONDOWN);
      return true;
    }
    case SDL_CONTROLLERAXISMOTION: {
      const std::optional<PadAxis> axis = PadAxisOf(event.caxis.axis);
      if (!axis || !IsOpen(event.caxis.which)) return true;
      hands.AdvanceTo(ClockOf(event));
      hands.PadAxisMoved(event.caxis.which, *axis, AxisValue(event.caxis.value));
      return true;
    }
    default:
      return false;
  }
}

void SdlPads::Open(int device_index, Hands& hands) {
  SDL_GameController* controller = SDL_GameControllerOpen(device_index);
  if (controller == nullptr) {
    std::fprintf(stderr, "moewenschuss: Ein Gamepad kann nicht geöffnet werden: %s\n",
                 SDL_GetError());
    return;
  }
  const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
  // SDL counts the opens of a pad it announced twice: one is enough.
  if (id < 0 || IsOpen(id)) {
    SDL_GameControllerClose(controller);
    return;
  }
  open_.push_back({id, controller});
  hands.PadPlugged(id);
}

// Whatever the pad held is let go, so a machine gun stops firing.
void SdlPads::Close(SDL_JoystickID id, Hands& hands) {
  const auto pad =
      std::find_if(open_.begin(), open_.end(), [id](const OpenPad& p) { return p.id == id; });
  // SDL also announces the removal of joysticks that are no game pads.
  if (pad == open_.end()) return;
  SDL_GameControllerClose(pad->controller);
  open_.erase(pad);
  hands.PadUnplugged(id);
}

bool SdlPads::IsOpen(SDL_JoystickID id) const {
  return std::any_of(open_.begin(), open_.end(), [id](const OpenPad& p) { return p.id == id; });
}

// The event happened that long before now: SDL's stamp wraps round, and the
// difference of the low 32 bits does not.
std::int64_t FrameClockOfStamp(Uint64 now_ms, Uint32 stamp, Uint64 start_ms) {
  const Uint64 ago = static_cast<Uint32>(static_cast<Uint32>(now_ms) - stamp);
  const Uint64 since_start = now_ms > start_ms ? now_ms - start_ms : 0;
  return kClockStart + static_cast<std::int64_t>(since_start - std::min(ago, since_start));
}

// An event never takes the hands back in time.
std::int64_t SdlPads::ClockOf(const SDL_Event& event) {
  clock_ = std::max(clock_, FrameClockOfStamp(SDL_GetTicks64(), event.common.timestamp, start_ms_));
  return clock_;
}

}  // namespace mw
