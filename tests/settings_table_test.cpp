#include <gtest/gtest.h>

#include "app/settings_screen.h"
#include "platform/cp1252.h"
#include "platform/runtime_error.h"
#include "shared/modul.h"
#include "shared/safe_holders.h"

namespace mw {
namespace {

TEST(SettingsTable, DefaultsGiveTheStandardGame) {
  Modul modul;
  InitSettingsTables(modul);
  EXPECT_EQ(SettingValue(modul, kGullCount), 25);
  EXPECT_EQ(SettingValue(modul, kGameSpeed), 100);
  EXPECT_EQ(SettingValue(modul, kMpSpeed), 5);
  EXPECT_EQ(SettingValue(modul, kGameTime), 90);
  EXPECT_EQ(ChosenSetting(modul, kGullCount).Label, "mittel");
  EXPECT_EQ(ChosenSetting(modul, kMpSpeed).Label, "schnell");
  EXPECT_EQ(ChosenSetting(modul, kGameTime).Label, "1:30");
}

TEST(SettingsTable, CyclingRunsThroughEveryChoiceAndWraps) {
  Modul modul;
  InitSettingsTables(modul);
  std::vector<std::string> gulls;
  std::vector<std::int32_t> times;
  for (int i = 0; i < 4; ++i) {
    CycleSetting(modul, kGullCount);
    gulls.push_back(ChosenSetting(modul, kGullCount).Label);
    CycleSetting(modul, kGameTime);
    times.push_back(SettingValue(modul, kGameTime));
  }
  // The gull count has only three choices: its empty fourth entry never shows.
  EXPECT_EQ(gulls, (std::vector<std::string>{"viele", "wenige", "mittel", "viele"}));
  EXPECT_EQ(times, (std::vector<std::int32_t>{180, 360, 720, 90}));
  for (int i = 0; i < 3; ++i) CycleSetting(modul, kGameSpeed);
  EXPECT_EQ(ChosenSetting(modul, kGameSpeed).Label, "langsam");
  EXPECT_EQ(SettingValue(modul, kGameSpeed), 200);
}

TEST(SettingsTable, AChoiceOutsideTheTableIsARunTimeError) {
  Modul modul;
  InitSettingsTables(modul);
  modul.SettingChoice[kGameSpeed] = 4;
  EXPECT_THROW(ChosenSetting(modul, kGameSpeed), RuntimeError);
  modul.SettingChoice[kGameSpeed] = -1;
  EXPECT_THROW(ChosenSetting(modul, kGameSpeed), RuntimeError);
  EXPECT_THROW(ChosenSetting(modul, 0), RuntimeError);
  EXPECT_THROW(ChosenSetting(modul, 5), RuntimeError);
}

TEST(CheatAlarm, AnEditedHolderSetsCheatFlagThroughTheForm) {
  Modul modul;
  SafeNr score(&modul);
  score.SetValue(1234);
  EXPECT_EQ(score.Value(), 1234);
  EXPECT_FALSE(modul.CheatFlag);
  score.TamperForTest(0x10);
  score.Value();
  EXPECT_TRUE(modul.CheatFlag);
  // Once raised it stays, even after the holder is written again.
  score.SetValue(5);
  EXPECT_EQ(score.Value(), 5);
  EXPECT_TRUE(modul.CheatFlag);
}

TEST(CheatAlarm, NormalUseNeverRaisesIt) {
  Modul modul;
  SafeNr fresh(&modul);
  EXPECT_EQ(fresh.Value(), 0);
  SafeNr a(&modul);
  for (std::int32_t v : {-200, 0, 1, -1, 2147483647, -2147483647 - 1, 720}) {
    a.SetValue(v);
    EXPECT_EQ(a.Value(), v);
    SafeNr copy(a);  // a copy lives elsewhere in memory, with a key of its own
    EXPECT_EQ(copy.Value(), v);
    SafeNr assigned(&modul);
    assigned = copy;
    EXPECT_EQ(assigned.Value(), v);
  }
  std::vector<SafeNr> moved_around(3, a);
  moved_around.resize(50, a);  // reallocation copies holders to new places
  for (const SafeNr& h : moved_around) EXPECT_EQ(h.Value(), 720);
  EXPECT_FALSE(modul.CheatFlag);
}

TEST(CheatAlarm, AHolderWithoutAFormRaisesNothing) {
  SafeNr loose;
  loose.SetValue(7);
  loose.TamperForTest(1);
  EXPECT_NO_THROW(loose.Value());
}

TEST(SafeStr, KeepsWindows1252TextAndStartsEmpty) {
  SafeStr s;
  EXPECT_EQ(s.derstring(), "");
  const std::string name = Utf8ToCp1252("Jürgen Möwe");
  s.SetDerstring(name);
  EXPECT_EQ(s.derstring(), name);
  SafeStr copy = s;
  EXPECT_EQ(copy.derstring(), name);
}

}  // namespace
}  // namespace mw
