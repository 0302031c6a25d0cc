#pragma once
// Input rules the shell screens share: the lost-display wait and the
// one-step-per-press arrow keys.

#include <cstdint>

#include "platform/platform.h"

namespace mw {

// Waits, yielding, while the display is lost. True when it was lost (the
// caller then reloads its images in its own order). Also returns once the
// window is asked to close, so a minimised program can still be ended.
bool WaitOutLostDisplay(Platform& platform);

// Presses of Enter and the left button made while the display was away are
// forgotten: one poll each clears their latches.
void ForgetConfirmPresses(Platform& platform);

// True when Enter or the left button is down. Both are polled every time so
// neither keeps a stale latch.
bool ConfirmDown(Platform& platform);

// An arrow key acts once per press: true on the pass where it goes down.
bool NewPress(Platform& platform, int virtual_key, bool& held);

// Leaving a screen with a key: polls it, without yielding, until it is up, so
// the screen below does not take the same press. A close request ends the wait.
void WaitForRelease(Platform& platform, int virtual_key);

}  // namespace mw
