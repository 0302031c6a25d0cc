// A setting choice outside the table, and the guarded numbers' notice of an
// edit. (Cycling through the choices is in the golden settings run; normal
// use taken for an edit would refuse the golden runs' saves.)

#include <gtest/gtest.h>

#include "errors/runtime_error.h"
#include "shared/guarded_values.h"
#include "shared/session.h"

namespace mw {
namespace {

TEST(SettingsTable, AChoiceOutsideTheTableIsARunTimeError) {
  Session session;
  ChooseDefaultSettings(session);
  session.setting_choice[kGameSpeed] = 4;
  EXPECT_THROW(ChosenSetting(session, kGameSpeed), RuntimeError);
  session.setting_choice[kGameSpeed] = -1;
  EXPECT_THROW(ChosenSetting(session, kGameSpeed), RuntimeError);
  EXPECT_THROW(ChosenSetting(session, 0), RuntimeError);
  EXPECT_THROW(ChosenSetting(session, 5), RuntimeError);
}

TEST(GuardedNumber, AnEditNoticedOnReadStaysNoticedAndTravelsWithCopies) {
  GuardedNumber score;
  score.SetValue(1234);
  EXPECT_EQ(score.Value(), 1234);
  EXPECT_FALSE(score.Tampered());
  score.TamperForTest(0x10);
  score.Value();
  EXPECT_TRUE(score.Tampered());
  // Once noticed it stays, even after the holder is written again.
  score.SetValue(5);
  EXPECT_EQ(score.Value(), 5);
  EXPECT_TRUE(score.Tampered());
  const GuardedNumber copy(score);
  GuardedNumber assigned;
  assigned = score;
  EXPECT_TRUE(copy.Tampered());
  EXPECT_TRUE(assigned.Tampered());
}

}  // namespace
}  // namespace mw
