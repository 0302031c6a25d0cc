#include "input/pad_controls.h"

#include <array>

namespace mw {
namespace {

constexpr std::array<std::string_view, kPadButtonCount> kButtonNames{"a",
                                                                     "b",
                                                                     "x",
                                                                     "y",
                                                                     "back",
                                                                     "start",
                                                                     "leftshoulder",
                                                                     "rightshoulder",
                                                                     "dpup",
                                                                     "dpdown",
                                                                     "dpleft",
                                                                     "dpright",
                                                                     "leftstick",
                                                                     "rightstick"};
constexpr std::array<std::string_view, kPadAxisCount> kAxisNames{
    "leftx", "lefty", "rightx", "righty", "lefttrigger", "righttrigger"};

}  // namespace

std::optional<PadButton> PadButtonOfName(std::string_view name) {
  for (std::size_t i = 0; i < kButtonNames.size(); ++i) {
    if (kButtonNames[i] == name) return static_cast<PadButton>(i);
  }
  return std::nullopt;
}

std::optional<PadAxis> PadAxisOfName(std::string_view name) {
  for (std::size_t i = 0; i < kAxisNames.size(); ++i) {
    if (kAxisNames[i] == name) return static_cast<PadAxis>(i);
  }
  return std::nullopt;
}

bool IsTrigger(PadAxis axis) {
  return axis == PadAxis::kLeftTrigger || axis == PadAxis::kRightTrigger;
}

}  // namespace mw
