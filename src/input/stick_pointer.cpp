#include "input/stick_pointer.h"

#include <algorithm>
#include <cmath>

#include "drawing/drawing_types.h"

namespace mw {
namespace {

constexpr double kDeadZone = 0.2;
// One picture width a second at full tilt.
constexpr double kFullTiltSteps = kPictureWidth * static_cast<double>(kSubpixels) / 1000.0;
constexpr double kSlowFactor = 0.35;
// Just past the dead zone the pointer still creeps, about 8 pixels a second.
constexpr double kSlowestSteps = 8.0;

}  // namespace

// Only +, -, *, / and sqrt, which IEEE arithmetic rounds the same everywhere,
// so a scripted pad moves the pointer to the same pixels on every system.
StickVelocity VelocityOfStick(double x, double y, bool slow) {
  if (!std::isfinite(x) || !std::isfinite(y)) return {};
  const double lean = std::sqrt(x * x + y * y);
  if (lean <= kDeadZone) return {};
  const double past = (std::min(lean, 1.0) - kDeadZone) / (1.0 - kDeadZone);
  double speed = past * (0.25 + 0.75 * past) * kFullTiltSteps;
  if (slow) speed *= kSlowFactor;
  speed = std::max(speed, kSlowestSteps);
  return {std::llround(x / lean * speed), std::llround(y / lean * speed)};
}

}  // namespace mw
