// What the golden runs of the shell screens cannot show exactly: the mouse
// bands to the pixel, one step per arrow press however short, the mouse at
// rest taking the selection back, and waits that rest between their polls.

#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "app/settings_screen.h"
#include "test_world.h"

namespace mw {
namespace {

using test::Input;
using test::World;

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
  World w;
  MenuState menu;
  SettingsState settings;
  // The menu starts on "Spiel starten", the settings on no line.
  auto pass = [&](Input input, Point mouse = {300, 10}) {
    input.Mouse(mouse);
    MenuPass(w.platform, w.state, menu, input);
    SettingsPass(w.platform, w.session, w.display, settings, input);
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

// A wait that polls without drawing rests about a millisecond between its
// input frames instead of spinning.
TEST(ShellPasses, WaitsRestAMillisecondBetweenPolls) {
  struct Case {
    const char* name;
    const char* script;
    double until_ms;
    bool settings;  // run the settings screen, not one menu pass
  };
  for (const Case& c : {
           Case{"Enter held in the menu", "0 mouse 300 10\n0 down enter\n500 up enter\n", 500,
                false},
           Case{"Escape held after the settings", "0 down escape\n300 up escape\n", 300, true},
           Case{"the display lost in the menu", "0 lose-display 400\n", 400, false},
       }) {
    SCOPED_TRACE(c.name);
    World w(c.script);
    int frames = 0;
    w.platform.SetInputHook([&frames](HeadlessPlatform&) { ++frames; });
    if (c.settings) {
      EXPECT_EQ(ShowSettings(w.platform, w.session, w.display), ScreenExit::kBack);
    } else {
      MenuState menu;
      EXPECT_EQ(MenuPass(w.platform, w.state, menu, w.platform.ReadInput()), PassResult::kStay);
      EXPECT_EQ(w.platform.FramesShown(), 1) << "the wait drew nothing";
    }
    EXPECT_GE(w.platform.NowMs(), c.until_ms);
    EXPECT_LT(w.platform.NowMs(), c.until_ms + 20);
    EXPECT_GT(frames, c.until_ms / 1.01 - 5);
    EXPECT_LT(frames, c.until_ms / 1.01 + 5);
  }
}

}  // namespace
}  // namespace mw
