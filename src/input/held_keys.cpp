#include "input/held_keys.h"

#include <algorithm>

namespace mw {

void HeldKeys::Press(int virtual_key) {
  if (virtual_key < 0 || virtual_key >= vk::kCount) return;
  const auto k = static_cast<std::size_t>(virtual_key);
  if (holders_[k] == 0 && presses_[k] < UINT16_MAX) ++presses_[k];
  if (holders_[k] < UINT8_MAX) ++holders_[k];
}

void HeldKeys::Release(int virtual_key) {
  if (virtual_key < 0 || virtual_key >= vk::kCount) return;
  const auto k = static_cast<std::size_t>(virtual_key);
  if (holders_[k] > 0) --holders_[k];
}

void HeldKeys::AddTo(InputFrame& frame) {
  for (std::size_t k = 0; k < frame.keys.size(); ++k) {
    KeyState& key = frame.keys[k];
    key.down = key.down || holders_[k] > 0;
    key.presses =
        static_cast<std::uint16_t>(std::min<int>(UINT16_MAX, int{key.presses} + int{presses_[k]}));
  }
  presses_.fill(0);
}

}  // namespace mw
