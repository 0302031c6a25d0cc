#include "app/shell_input.h"

namespace mw {

bool ConfirmDown(Platform& platform) {
  const bool enter = platform.KeyDown(vk::kReturn);
  const bool left = platform.KeyDown(vk::kLeftButton);
  return enter || left;
}

bool NewPress(Platform& platform, int virtual_key, bool& held) {
  const bool down = platform.KeyDown(virtual_key);
  const bool fresh = down && !held;
  held = down;
  return fresh;
}

void WaitForRelease(Platform& platform, int virtual_key) {
  while (platform.KeyDown(virtual_key) && !platform.QuitRequested()) {
  }
}

}  // namespace mw
