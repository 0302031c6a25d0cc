#include "app/settings_screen.h"

#include <gtest/gtest.h>

#include "test_world.h"

namespace mw {
namespace {

using test::TextRow;
using test::World;

PassResult RunSettingsUntil(World& w, SettingsState& s, double ms) {
  return test::RunPassesUntil(w, ms, [&] {
    return SettingsPass(w.platform, w.session, w.display, s, w.platform.ReadInput());
  });
}

std::string Label(const World& w, int setting) {
  return std::string(ChosenSetting(w.state.session, setting).label);
}

TEST(SettingsPass, OpensWithNoLineSoAConfirmDoesNothing) {
  World w("0 mouse 300 10\n0 press enter\n100 press mouse-left\n");
  SettingsState s;
  EXPECT_EQ(RunSettingsUntil(w, s, 300), PassResult::kStay);
  EXPECT_EQ(s.selected, 0);
  EXPECT_EQ(w.state.session.setting_choice, (std::array<std::int16_t, 5>{0, 1, 1, 2, 0}));
  for (int y = 150; y <= 350; y += 50) {
    EXPECT_EQ(w.CountColour(TextRow(y), s.pulse.highlight_color), 0) << y;
    EXPECT_GT(w.CountColour(TextRow(y), Rgb(255, 255, 255)), 50) << y;
  }
}

TEST(SettingsPass, FirstDownSelectsGullsFirstUpSelectsTime) {
  EXPECT_EQ(SettingsLineAt(129), 0);
  EXPECT_EQ(SettingsLineAt(130), 1);
  EXPECT_EQ(SettingsLineAt(170), 0);
  EXPECT_EQ(SettingsLineAt(319), 4);
  EXPECT_EQ(SettingsLineAt(369), kBackLine);
  EXPECT_EQ(SettingsLineAt(370), 0);
  {
    World w("0 mouse 300 10\n0 press arrow-down\n");
    SettingsState s;
    RunSettingsUntil(w, s, 100);
    EXPECT_EQ(s.selected, 1);
  }
  World w(
      "0 mouse 300 10\n0 press arrow-up\n100 press arrow-up\n200 press arrow-up\n"
      "300 press arrow-up\n400 press arrow-up\n500 down arrow-down\n");
  SettingsState s;
  std::vector<int> seen;
  for (double t : {90, 190, 290, 390, 490, 900}) {
    RunSettingsUntil(w, s, t);
    seen.push_back(s.selected);
  }
  EXPECT_EQ(seen, (std::vector<int>{4, 3, 2, 1, 5, 1}));
}

TEST(SettingsPass, ClickingCyclesTheChoicesOncePerPress) {
  World w(
      "0 mouse 300 140\n"
      "100 press mouse-left\n200 press mouse-left\n300 press mouse-left\n"
      "400 mouse 300 300\n"
      "500 press enter\n600 press enter\n700 press enter\n800 press enter\n"
      "900 down mouse-left\n");
  SettingsState s;
  std::vector<std::string> gulls;
  for (double t : {90, 190, 290, 390}) {
    RunSettingsUntil(w, s, t);
    gulls.push_back(Label(w, kGullCount));
  }
  EXPECT_EQ(gulls, (std::vector<std::string>{"mittel", "viele", "wenige", "mittel"}));
  std::vector<std::string> times{Label(w, kGameTime)};
  for (double t : {590, 690, 790, 890}) {
    RunSettingsUntil(w, s, t);
    times.push_back(Label(w, kGameTime));
  }
  EXPECT_EQ(times, (std::vector<std::string>{"1:30", "3:00", "6:00", "12:00", "1:30"}));
  // Held for many passes, the button changes the setting once.
  RunSettingsUntil(w, s, 1500);
  EXPECT_EQ(Label(w, kGameTime), "3:00");
  EXPECT_GT(w.CountColour(TextRow(300), s.pulse.highlight_color), 50);
}

TEST(SettingsPass, ZurueckReturnsAtOnceWhileEnterIsStillDown) {
  World w("0 mouse 300 350\n100 down enter\n");
  SettingsState s;
  EXPECT_EQ(RunSettingsUntil(w, s, 2000), PassResult::kLeave);
  EXPECT_LT(w.platform.NowMs(), 120);
}

TEST(SettingsPass, AClickWhileTheDisplayIsLostIsForgotten) {
  World w("0 mouse 300 140\n20 lose-display 200\n60 press mouse-left\n");
  SettingsState s;
  RunSettingsUntil(w, s, 600);
  EXPECT_EQ(Label(w, kGullCount), "mittel");
  EXPECT_GT(w.CountColour(TextRow(350), Rgb(255, 255, 255)), 50);
}

TEST(SettingsPass, ChoicesLastForTheRun) {
  // Changed settings are what a later visit, and the next game, reads.
  World w("0 mouse 300 190\n100 press mouse-left\n");
  SettingsState first;
  RunSettingsUntil(w, first, 300);
  EXPECT_EQ(SettingValue(w.state.session, kGameSpeed), 50);
  SettingsState second;
  RunSettingsUntil(w, second, 400);
  EXPECT_EQ(SettingValue(w.state.session, kGameSpeed), 50);
}

}  // namespace
}  // namespace mw
