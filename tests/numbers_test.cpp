#include "shared/numbers.h"

#include <gtest/gtest.h>

#include "errors/runtime_error.h"

namespace mw {
namespace {

TEST(Rounding, Int16AndInt32RoundHalvesToEven) {
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
