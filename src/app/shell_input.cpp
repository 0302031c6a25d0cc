#include "app/shell_input.h"

namespace mw {

bool ConfirmDown(const InputFrame& input) {
  return input.Down(vk::kReturn) || input.Down(vk::kLeftButton);
}

bool NewPress(const InputFrame& input, int virtual_key, bool& held) {
  const bool down = input.Down(virtual_key);
  // Let go and pressed again between two passes is a new press too.
  const bool pressed_again = held && input.keys[static_cast<std::size_t>(virtual_key)].presses > 0;
  const bool fresh = down && (!held || pressed_again);
  held = down;
  return fresh;
}

}  // namespace mw
