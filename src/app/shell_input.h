#pragma once
// Input rules the shell screens share: the confirm, the one-step-per-press
// arrow keys and the release waits.

#include <cstdint>

#include "platform/platform.h"
#include "shared/display_state.h"

namespace mw {

// True when Enter or the left button is down. Both are polled every time so
// neither keeps a stale latch.
bool ConfirmDown(Platform& platform);

// An arrow key acts once per press: true on the pass where it goes down.
bool NewPress(Platform& platform, int virtual_key, bool& held);

// Leaving a screen with a key: polls it, without yielding, until it is up, so
// the screen below does not take the same press. A close request ends the wait.
void WaitForRelease(Platform& platform, int virtual_key);

}  // namespace mw
