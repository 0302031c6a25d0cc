#pragma once
// The calendar time where the player is, the same way on every system.

#include <ctime>

namespace mw {

// The moment in the local time zone; all fields zero when the system cannot
// say.
std::tm LocalTimeOf(std::time_t moment);

}  // namespace mw
