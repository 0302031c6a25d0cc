#include "shared/input_waits.h"

#include <algorithm>

namespace mw {

bool WaitOutLostDisplay(Platform& platform, InputFrame& input) {
  if (!input.display_lost) return false;
  while (input.display_lost && !input.close_requested) {
    platform.Pause();
    input = platform.ReadInput();
  }
  input.ForgetPresses(vk::kReturn);
  input.ForgetPresses(vk::kLeftButton);
  return true;
}

InputFrame WaitForRelease(Platform& platform, std::initializer_list<int> keys) {
  while (true) {
    InputFrame input = platform.ReadInput();
    const bool any_down =
        std::any_of(keys.begin(), keys.end(), [&input](int key) { return input.Down(key); });
    if (!any_down || input.close_requested) return input;
    platform.Pause();
  }
}

}  // namespace mw
