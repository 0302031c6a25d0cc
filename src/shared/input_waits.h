#pragma once
// The two waits every screen shares. Both take input frames of their own, a
// millisecond apart, without drawing.

#include <initializer_list>

#include "platform/platform.h"

namespace mw {

// While the display is lost (input.display_lost), waits until it is back or
// the window is asked to close, and replaces input with the frame that ended
// the wait. Presses of Enter and the left button made meanwhile are then
// forgotten, so a click on the way back does not act. True when it was lost
// (the caller then restores and reloads its images).
bool WaitOutLostDisplay(Platform& platform, InputFrame& input);

// Waits until none of the keys is down, so the screen that comes next does not
// take the same press. A close request ends the wait too. Returns the last
// frame it took.
InputFrame WaitForRelease(Platform& platform, std::initializer_list<int> keys);

}  // namespace mw
