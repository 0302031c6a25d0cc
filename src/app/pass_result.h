#pragma once

namespace mw {

// What one pass of a shell screen's loop decided.
enum class PassResult { kStay, kLeave };

}  // namespace mw
