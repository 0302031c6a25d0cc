#include "shared/numbers.h"

#include <cmath>
#include <limits>

#include "errors/runtime_error.h"

namespace mw {
namespace {

[[noreturn]] void Overflow() {
  throw RuntimeError("Laufzeitfehler 6: Überlauf");
}

template <typename T>
T RoundInto(double v) {
  if (std::isnan(v)) Overflow();
  const double r = std::nearbyint(v);  // default rounding mode: halves to even
  if (r < static_cast<double>(std::numeric_limits<T>::min()) ||
      r > static_cast<double>(std::numeric_limits<T>::max())) {
    Overflow();
  }
  return static_cast<T>(r);
}

template <typename T>
T Narrow(std::int64_t v) {
  if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max()) Overflow();
  return static_cast<T>(v);
}

}  // namespace

float GameRandom::Next() {
  x_ = static_cast<std::uint32_t>((std::uint64_t{x_} * 1140671485u + 12820163u) & 0xFFFFFFu);
  return static_cast<float>(x_) / 16777216.0f;
}

double Floor(double v) {
  return std::floor(v);
}

std::int16_t RoundToInt16(double v) {
  return RoundInto<std::int16_t>(v);
}
std::int32_t RoundToInt32(double v) {
  return RoundInto<std::int32_t>(v);
}

std::int16_t ToInt16(std::int64_t v) {
  return Narrow<std::int16_t>(v);
}
std::int32_t ToInt32(std::int64_t v) {
  return Narrow<std::int32_t>(v);
}
std::uint8_t ToByte(std::int64_t v) {
  return Narrow<std::uint8_t>(v);
}

}  // namespace mw
