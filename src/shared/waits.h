#pragma once
// The rules of the waits every screen shares: they take input samples of
// their own, a millisecond apart, without drawing, and a close request ends
// each of them at once.

#include <initializer_list>

#include "input/input_frame.h"

namespace mw {

// The lost-display wait goes on while the display is away.
inline bool DisplayStillLost(const InputFrame& input) {
  return input.display_lost && !input.close_requested;
}

// A release wait goes on while one of its keys is down, so the screen that
// comes next does not take the same press.
inline bool KeysStillDown(const InputFrame& input, std::initializer_list<int> keys) {
  return input.AnyDown(keys) && !input.close_requested;
}

// The sample that ends a lost-display wait: presses of Enter and the left
// button made while the display was away must not act when it returns.
inline InputFrame WithoutPressesWhileAway(InputFrame input) {
  input.ForgetPresses(vk::kReturn);
  input.ForgetPresses(vk::kLeftButton);
  return input;
}

}  // namespace mw
