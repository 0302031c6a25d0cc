// What the golden runs of the shell screens cannot show exactly: the mouse
// bands to the pixel, one step per arrow press however short, the mouse at
// rest taking the selection back, and waits that rest between their samples.

#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "app/settings_menu.h"
#include "test_world.h"

namespace mw::test {
namespace {

TEST(ShellPasses, MouseBandsAreFortyRowsHalfOpenAndIgnoreX) {
  struct Band {
    std::int32_t y;
    int menu_entry;
    int settings_line;
  };
  for (const Band b :
       {Band{129, 0, 0}, Band{130, 0, 1}, Band{169, 0, 1}, Band{170, 0, 0}, Band{229, 0, 0},
        Band{230, 1, 3}, Band{269, 1, 3}, Band{270, 0, 0}, Band{280, 2, 4}, Band{319, 2, 4},
        Band{369, 3, 5}, Band{370, 0, 0}, Band{380, 4, 0}, Band{419, 4, 0}, Band{420, 0, 0}}) {
    EXPECT_EQ(MenuEntryAt(b.y), b.menu_entry) << b.y;
    EXPECT_EQ(SettingsLineAt(b.y), b.settings_line) << b.y;
  }
}

TEST(ShellPasses, AnArrowStepsOncePerPressAndTheMouseAtRestTakesTheSelectionBack) {
  Session session;
  MenuState menu;
  SettingsVisit settings;
  // The menu starts on "Spiel starten", the settings on no line.
  auto pass = [&](Input input, Point mouse = {300, 10}) {
    input.Mouse(mouse);
    EXPECT_EQ(ReadMenuInput(menu, input), MenuPass::kStay);
    EXPECT_EQ(ReadSettingsInput(settings, session, input), SettingsPass::kStay);
    return std::pair<int, int>{menu.selected, settings.selected};
  };
  using Seen = std::pair<int, int>;
  EXPECT_EQ(pass(Input().Held(vk::kUp).Tapped(vk::kUp)), Seen(kEnd, 4));
  EXPECT_EQ(pass(Input().Held(vk::kUp)), Seen(kEnd, 4)) << "held: no second step";
  EXPECT_EQ(pass(Input().Held(vk::kDown).Tapped(vk::kDown)), Seen(kStartGame, 5));
  // Let go and pressed again between two passes, or tapped within one.
  EXPECT_EQ(pass(Input().Held(vk::kDown).Tapped(vk::kDown)), Seen(kSettings, 1));
  EXPECT_EQ(pass(Input().Tapped(vk::kDown)), Seen(kHighScores, 2));
  EXPECT_EQ(pass(Input()), Seen(kHighScores, 2));
  // Over "Einstellungen" and "Zeit": an arrow shows for one pass only.
  EXPECT_EQ(pass(Input().Tapped(vk::kDown), {0, 300}), Seen(kHighScores, 5));
  EXPECT_EQ(pass(Input(), {0, 300}), Seen(kSettings, 4));
}

// A confirm held when the menu opens does nothing when it is let go; one
// pressed after a pass with it up opens the line, once.
TEST(ShellPasses, TheMenuActsOnAConfirmOnlyAfterAPassWithItUp) {
  MenuState menu;
  EXPECT_EQ(ReadMenuInput(menu, Input().Held(vk::kReturn)), MenuPass::kConfirm);
  EXPECT_EQ(AfterConfirmReleased(menu, false, false), MenuPass::kStay);
  EXPECT_EQ(AfterConfirmReleased(menu, false, true), MenuPass::kLeave)
      << "the interrupted pass's Escape still counts";
  EXPECT_EQ(ReadMenuInput(menu, Input()), MenuPass::kStay);
  EXPECT_EQ(ReadMenuInput(menu, Input().Tapped(vk::kLeftButton)), MenuPass::kConfirm);
  EXPECT_EQ(AfterConfirmReleased(menu, false, true), MenuPass::kAct);
  EXPECT_EQ(ReadMenuInput(menu, Input().Tapped(vk::kReturn)), MenuPass::kConfirm);
  EXPECT_EQ(AfterConfirmReleased(menu, false, false), MenuPass::kStay)
      << "after acting, the confirm must be up for a pass first";
}

// A wait samples without drawing and rests about a millisecond between its
// samples instead of spinning; the screen it returns to then shows once.
TEST(ShellPasses, WaitsRestAMillisecondBetweenSamples) {
  struct Case {
    const char* name;
    const char* script;
    bool in_settings;  // the wait is the settings screen's
    double until_ms;
  };
  for (const Case& c : {
           Case{"Enter held in the menu", "0 mouse 300 10\n0 down enter\n500 up enter\n", false,
                500},
           Case{"Escape held after the settings",
                "0 mouse 20 300\n50 press mouse-left\n200 down escape\n400 up escape\n", true, 400},
           Case{"the display lost in the menu", "0 lose-display 400\n", false, 400},
       }) {
    SCOPED_TRACE(c.name);
    Program p(std::string(c.script) + kLongRun);
    if (c.in_settings) {
      ASSERT_TRUE(p.RunUntil([&] { return p.On<SettingsScreen>() != nullptr; }));
    }
    auto waiting = [&] {
      return p.On<ReleaseWait>() != nullptr || p.On<LostDisplayWait>() != nullptr;
    };
    ASSERT_TRUE(p.RunUntil(waiting));
    const double begun = p.platform.NowMs();
    const std::int64_t shown = p.platform.FramesShown();
    int samples = 0;
    p.platform.SetInputHook([&samples](HeadlessPlatform&) { ++samples; });
    ASSERT_TRUE(p.RunUntil([&] { return !waiting(); }));
    EXPECT_TRUE(p.InMenu());
    EXPECT_EQ(p.platform.FramesShown(), shown + 1) << "the wait drew nothing, the menu once";
    EXPECT_GE(p.platform.NowMs(), c.until_ms);
    EXPECT_LT(p.platform.NowMs(), c.until_ms + 20);
    const double waited = c.until_ms - begun;
    EXPECT_GT(samples, waited / 1.01 - 5);
    EXPECT_LT(samples, waited / 1.01 + 5);
  }
}

}  // namespace
}  // namespace mw::test
