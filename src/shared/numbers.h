#pragma once
// The game's own arithmetic: its random numbers, Int, and the rounding and
// range checks of values stored into 16- and 32-bit fields.

#include <cstdint>

namespace mw {

// 24-bit linear congruential generator, never seeded from the clock, so every
// run draws the same sequence.
class GameRandom {
 public:
  // Next number r with 0 <= r < 1.
  float Next();
  std::uint32_t State() const { return x_; }

 private:
  std::uint32_t x_ = 327680;
};

// Greatest integer not above v.
double Floor(double v);

// Round to nearest, halves to even, into a 16-bit (RoundToInt16) or 32-bit (RoundToInt32)
// field. A value that does not fit is a run-time error ("Überlauf").
std::int16_t RoundToInt16(double v);
std::int32_t RoundToInt32(double v);

// Whole numbers into narrower fields, with the same range check.
std::int16_t ToInt16(std::int64_t v);
std::int32_t ToInt32(std::int64_t v);
std::uint8_t ToByte(std::int64_t v);

}  // namespace mw
