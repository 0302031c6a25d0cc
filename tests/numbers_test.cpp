#include "shared/numbers.h"

#include <gtest/gtest.h>

#include "platform/runtime_error.h"

namespace mw {
namespace {

TEST(GameRandom, StartsFromTheFixedSeedEveryRun) {
  GameRandom a;
  GameRandom b;
  // x1 = (327680 * 1140671485 + 12820163) mod 2^24
  const std::uint64_t x1 = (327680ull * 1140671485ull + 12820163ull) % 16777216ull;
  EXPECT_FLOAT_EQ(a.Next(), static_cast<float>(x1) / 16777216.0f);
  for (int i = 0; i < 1000; ++i) {
    const float r = b.Next();
    if (i == 0) continue;
    EXPECT_GE(r, 0.0f);
    EXPECT_LT(r, 1.0f);
  }
}

TEST(Rounding, CIntAndCLngRoundHalvesToEven) {
  EXPECT_EQ(RoundToInt16(0.5), 0);
  EXPECT_EQ(RoundToInt16(1.5), 2);
  EXPECT_EQ(RoundToInt16(2.5), 2);
  EXPECT_EQ(RoundToInt16(-0.5), 0);
  EXPECT_EQ(RoundToInt16(-1.5), -2);
  EXPECT_EQ(RoundToInt16(-64.4444), -64);
  EXPECT_EQ(RoundToInt32(16.6666), 17);
  EXPECT_EQ(Floor(-0.25), -1);
  EXPECT_EQ(Floor(1919.999), 1919);
}

TEST(Rounding, ValuesThatDoNotFitTheirFieldAreRunTimeErrors) {
  EXPECT_EQ(RoundToInt16(32767.4), 32767);
  EXPECT_THROW(RoundToInt16(32767.5), RuntimeError);
  EXPECT_THROW(RoundToInt16(-32769), RuntimeError);
  EXPECT_THROW(RoundToInt32(2147483648.0), RuntimeError);
  EXPECT_THROW(ToInt16(40000), RuntimeError);
  EXPECT_THROW(ToByte(256), RuntimeError);
  EXPECT_EQ(ToByte(255), 255);
}

}  // namespace
}  // namespace mw
