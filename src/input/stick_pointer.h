#pragma once
// How far a pad's stick moves the pointer. The pointer is kept in 1/1024
// pixel steps and a stick gives a whole number of steps per millisecond, so
// two short frames move it exactly as far as one long one, and the path is
// the same at any frame rate and on every system.

#include <cstdint>

namespace mw {

constexpr std::int64_t kSubpixels = 1024;  // pointer steps in a pixel

struct StickVelocity {
  std::int64_t x = 0;  // pointer steps per millisecond
  std::int64_t y = 0;
  bool operator==(const StickVelocity&) const = default;
};

// A stick at (x, y), each -1 to 1: nothing inside a round dead zone (a
// resting stick does not drift), then a curve that gives fine control near
// the middle and about one second across the picture at full tilt. The
// speed depends on how far the stick leans, not on its direction, so a
// diagonal is no faster than straight. Slow aim (a trigger held) moves at
// about a third of that.
StickVelocity VelocityOfStick(double x, double y, bool slow);

}  // namespace mw
