// A setting choice outside the table, and the guarded numbers' notice of an
// edit. (Cycling through the choices is in the golden settings run.)

#include <gtest/gtest.h>

#include "platform/runtime_error.h"
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

TEST(GuardedNumber, NormalUseIsNeverTakenForAnEdit) {
  GuardedNumber fresh;
  EXPECT_EQ(fresh.Value(), 0);
  GuardedNumber a;
  for (std::int32_t v : {-200, 0, 1, -1, 2147483647, -2147483647 - 1, 720}) {
    a.SetValue(v);
    EXPECT_EQ(a.Value(), v);
    GuardedNumber copy(a);  // a copy lives elsewhere in memory, with a key of its own
    EXPECT_EQ(copy.Value(), v);
    GuardedNumber assigned;
    assigned = copy;
    EXPECT_EQ(assigned.Value(), v);
    EXPECT_FALSE(copy.Tampered() || assigned.Tampered());
  }
  std::vector<GuardedNumber> moved_around(3, a);
  moved_around.resize(50, a);  // reallocation copies holders to new places
  for (const GuardedNumber& h : moved_around) {
    EXPECT_EQ(h.Value(), 720);
    EXPECT_FALSE(h.Tampered());
  }
}

}  // namespace
}  // namespace mw
