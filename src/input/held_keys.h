#pragma once
// The keys and buttons that pads and fingers hold, as the InputFrame counts
// them: a key is down while any hand holds it, and it went down once when
// the first hand took it, however many take it after.

#include <array>
#include <cstdint>

#include "input/input_frame.h"

namespace mw {

class HeldKeys {
 public:
  void Press(int virtual_key);
  void Release(int virtual_key);
  // Adds to the frame what was held and pressed since the frame before.
  void AddTo(InputFrame& frame);

 private:
  std::array<std::uint8_t, vk::kCount> holders_{};
  std::array<std::uint16_t, vk::kCount> presses_{};
};

}  // namespace mw
