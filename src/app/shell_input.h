#pragma once
// Input rules the shell screens share: the confirm and the one-step-per-press
// arrow keys.

#include "input/input_frame.h"

namespace mw {

// True when Enter or the left button is down for this pass.
bool ConfirmDown(const InputFrame& input);

// An arrow key acts once per press: true on the pass where it goes down.
bool NewPress(const InputFrame& input, int virtual_key, bool& held);

}  // namespace mw
