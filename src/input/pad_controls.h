#pragma once
// A game pad's buttons and axes, by the layout every pad shares (SDL's game
// controller, the browser's standard gamepad): A at the bottom, B right, X
// left, Y at the top of the four face buttons.

#include <cstdint>
#include <optional>
#include <string_view>

namespace mw {

enum class PadButton : std::uint8_t {
  kA,
  kB,
  kX,
  kY,
  kBack,
  kStart,
  kLeftShoulder,
  kRightShoulder,
  kDpadUp,
  kDpadDown,
  kDpadLeft,
  kDpadRight,
  kLeftStick,
  kRightStick,
};
constexpr int kPadButtonCount = 14;

// Sticks from -1 to 1 (right and down positive), triggers from 0 to 1.
enum class PadAxis : std::uint8_t {
  kLeftX,
  kLeftY,
  kRightX,
  kRightY,
  kLeftTrigger,
  kRightTrigger,
};
constexpr int kPadAxisCount = 6;

// By SDL's game-controller names: "a", "dpup", "leftshoulder", ...
std::optional<PadButton> PadButtonOfName(std::string_view name);
// "leftx", "lefty", "rightx", "righty", "lefttrigger", "righttrigger".
std::optional<PadAxis> PadAxisOfName(std::string_view name);
bool IsTrigger(PadAxis axis);

}  // namespace mw
