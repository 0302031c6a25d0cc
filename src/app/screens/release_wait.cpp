#include "app/screens/release_wait.h"

#include "shared/waits.h"

namespace mw {

Next ReleaseWait::Step(ScreenTools& tools, const InputFrame& input) {
  if (KeysStillDown(input, keys_)) return Stay(PassEnd::kPause);
  Next next = then_(tools, input);
  ++next.pop;  // the wait itself goes first
  return next;
}

}  // namespace mw
