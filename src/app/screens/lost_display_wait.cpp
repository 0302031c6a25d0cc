#include "app/screens/lost_display_wait.h"

#include "shared/waits.h"

namespace mw {

Next LostDisplayWait::Step(ScreenTools& tools, const InputFrame& input) {
  if (DisplayStillLost(input)) return Stay(PassEnd::kPause);
  Next next = waiting_.Resume(tools, WithoutPressesWhileAway(input));
  ++next.pop;  // the wait itself goes first
  return next;
}

Next WaitForDisplay(Screen& screen, ScreenTools& tools, const InputFrame& input) {
  if (DisplayStillLost(input)) {
    return Open(std::make_unique<LostDisplayWait>(screen), PassEnd::kPause);
  }
  return screen.Resume(tools, WithoutPressesWhileAway(input));
}

}  // namespace mw
