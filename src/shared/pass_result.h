#pragma once

namespace mw {

// What one pass of a screen's loop decided.
enum class PassResult {
  kStay,   // the screen goes on
  kLeave,  // the screen is left
  kClose,  // the window was asked to close: leave at once, without waiting for keys
};

}  // namespace mw
