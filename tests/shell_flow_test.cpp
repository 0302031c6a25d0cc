#include <gtest/gtest.h>

#include "app/settings_screen.h"
#include "test_world.h"

namespace mw {
namespace {

using test::Screens;
using test::World;

// The time of the n-th (0-based) screen event.
long ScreenTime(const std::string& log, std::size_t n) {
  std::size_t line_start = 0;
  for (std::size_t i = 0;; ++i) {
    const std::size_t at = log.find("\"event\":\"screen\"", line_start);
    if (at == std::string::npos) return -1;
    line_start = log.rfind('\n', at);
    line_start = line_start == std::string::npos ? 0 : line_start + 1;
    if (i == n) return std::stol(log.substr(line_start + 5));
    line_start = at + 1;
  }
}

TEST(ShellFlow, EnterOnZurueckIsNotTakenAgainByTheMenu) {
  // Enter confirms "Zurück " and is still held when the menu runs again,
  // with the mouse resting on "Einstellungen".
  World w(
      "0 mouse 300 300\n50 press mouse-left\n"
      "200 mouse 300 350\n300 down enter\n320 mouse 300 300\n600 up enter\n"
      "800 press escape\n");
  RunMainMenu(w.platform, w.state);
  EXPECT_EQ(Screens(w.platform.Events().Text()),
            (std::vector<std::string>{"menu", "settings", "menu"}));
  EXPECT_GE(w.platform.NowMs(), 800);
}

TEST(ShellFlow, EscapeInSettingsReturnsOnlyAfterReleaseAndKeepsTheMenu) {
  World w(
      "0 mouse 300 300\n50 press mouse-left\n"
      "300 down escape\n700 up escape\n"
      "1000 press escape\n");
  RunMainMenu(w.platform, w.state);
  const std::string& log = w.platform.Events().Text();
  EXPECT_EQ(Screens(log), (std::vector<std::string>{"menu", "settings", "menu"}));
  EXPECT_GE(ScreenTime(log, 2), 700);
  EXPECT_GE(w.platform.NowMs(), 1000);  // the menu ended on the second Escape
}

TEST(ShellFlow, EndClosesTheDisplayAndReleasesEverything) {
  World w("0 mouse 300 400\n100 press enter\n");
  RunMainMenu(w.platform, w.state);
  const DisplayState& d = w.state.display;
  EXPECT_FALSE(d.back_buffer);
  EXPECT_FALSE(d.menu_background);
  EXPECT_FALSE(d.settings_background);
  EXPECT_FALSE(d.high_score_background);
  EXPECT_FALSE(d.cursor_image);
  EXPECT_EQ(Screens(w.platform.Events().Text()), (std::vector<std::string>{"menu"}));
}

TEST(ShellFlow, ACloseRequestLeavesEveryScreenAtOnce) {
  {
    World w("0 mouse 300 10\n200 close\n");
    RunMainMenu(w.platform, w.state);
    EXPECT_LT(w.platform.NowMs(), 240);
  }
  {
    // In the settings screen: no return to the menu, the program ends.
    World w("0 mouse 300 300\n50 press mouse-left\n300 close\n");
    RunMainMenu(w.platform, w.state);
    EXPECT_EQ(Screens(w.platform.Events().Text()), (std::vector<std::string>{"menu", "settings"}));
    EXPECT_LT(w.platform.NowMs(), 340);
  }
  {
    // With Escape held in the settings screen, the release wait gives way.
    World w("0 mouse 300 300\n50 press mouse-left\n300 down escape\n400 close\n");
    RunMainMenu(w.platform, w.state);
    EXPECT_LT(w.platform.NowMs(), 440);
  }
  {
    // In a game: the program ends without the high-score table.
    World w("0 mouse 300 250\n50 press mouse-left\n300 close\n");
    RunMainMenu(w.platform, w.state);
    EXPECT_EQ(Screens(w.platform.Events().Text()), (std::vector<std::string>{"menu", "game"}));
    EXPECT_EQ(test::CountEvents(w.platform.Events(), "\"reason\":\"close\""), 1);
    EXPECT_LT(w.platform.NowMs(), 340);
  }
  {
    // While the display is lost.
    World w("0 mouse 300 10\n100 lose-display 100000\n300 close\n");
    RunMainMenu(w.platform, w.state);
    EXPECT_LT(w.platform.NowMs(), 340);
  }
}

TEST(ShellFlow, SettingsAreFilledAtStartAndKeptAcrossVisits) {
  World w(
      "0 mouse 300 300\n50 press mouse-left\n"                       // settings
      "200 mouse 300 140\n250 press mouse-left\n"                    // gulls: viele
      "400 press escape\n"                                           // back
      "600 mouse 300 300\n650 press mouse-left\n800 press escape\n"  // settings again
      "1000 press escape\n");
  w.state.session.setting_choice = {0, 2, 3, 3, 3};  // start-up must reset these
  RunMainMenu(w.platform, w.state);
  EXPECT_EQ(w.state.session.setting_choice, (std::array<std::int16_t, 5>{0, 2, 1, 2, 0}));
  EXPECT_EQ(Screens(w.platform.Events().Text()),
            (std::vector<std::string>{"menu", "settings", "menu", "settings", "menu"}));
}

// A wait that polls without drawing rests about a millisecond between its
// input frames instead of spinning.
TEST(ShellFlow, WaitsRestAMillisecondBetweenPolls) {
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
