#pragma once
// What the screen on top means by a pad's buttons and a finger (see
// input/hands.h), from the stack of screens.

#include <vector>

#include "app/screens.h"
#include "input/input_context.h"

namespace mw {

// A wait stands for the screen below it; the main menu is below them all.
InputContext InputContextOf(const std::vector<Screen>& screens);

}  // namespace mw
