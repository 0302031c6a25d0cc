#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "test_world.h"

namespace mw {
namespace {

using test::TextRow;
using test::World;

PassResult RunMenuUntil(World& w, MenuState& menu, double ms) {
  return test::RunPassesUntil(
      w, ms, [&] { return MenuPass(w.platform, w.state, menu, w.platform.ReadInput()); });
}

TEST(MenuPass, AConfirmHeldAtStartDoesNothingUntilPressedAgain) {
  // The mouse rests on "Ende" with Enter already down when the menu opens.
  World w(
      "0 mouse 300 390\n0 down enter\n200 up enter\n"
      "400 press mouse-left\n");
  MenuState menu;
  EXPECT_EQ(RunMenuUntil(w, menu, 390), PassResult::kStay);
  EXPECT_EQ(menu.selected, kEnd);
  EXPECT_FALSE(menu.confirm_latched);
  EXPECT_EQ(RunMenuUntil(w, menu, 1000), PassResult::kLeave);
}

TEST(MenuPass, ArrowKeysWrapAndActOncePerPressHoweverShort) {
  World w;
  MenuState menu;
  auto pass = [&](test::Input input) {
    MenuPass(w.platform, w.state, menu, input.Mouse({300, 10}));
    return menu.selected;
  };
  using test::Input;
  EXPECT_EQ(pass(Input().Held(vk::kUp).Tapped(vk::kUp)), kEnd);  // 1 wraps to 4
  EXPECT_EQ(pass(Input().Held(vk::kUp)), kEnd) << "held: no second step";
  EXPECT_EQ(pass(Input().Held(vk::kDown).Tapped(vk::kDown)), kStartGame);  // 4 wraps to 1
  // Let go and pressed again between two passes, or tapped within one.
  EXPECT_EQ(pass(Input().Held(vk::kDown).Tapped(vk::kDown)), kSettings);
  EXPECT_EQ(pass(Input().Tapped(vk::kDown)), kHighScores);
  EXPECT_EQ(pass(Input().Tapped(vk::kDown)), kEnd);
  EXPECT_EQ(pass(Input()), kEnd);
}

TEST(MenuPass, MouseBandsAreHalfOpenAndIgnoreX) {
  EXPECT_EQ(MenuEntryAt(229), 0);
  EXPECT_EQ(MenuEntryAt(230), 1);
  EXPECT_EQ(MenuEntryAt(269), 1);
  for (int y = 270; y < 280; ++y) EXPECT_EQ(MenuEntryAt(y), 0) << y;
  EXPECT_EQ(MenuEntryAt(280), 2);
  EXPECT_EQ(MenuEntryAt(369), 3);
  EXPECT_EQ(MenuEntryAt(380), 4);
  EXPECT_EQ(MenuEntryAt(419), 4);
  EXPECT_EQ(MenuEntryAt(420), 0);

  World w("0 mouse 639 280\n100 mouse 0 275\n200 mouse 17 269\n");
  MenuState menu;
  RunMenuUntil(w, menu, 90);
  EXPECT_EQ(menu.selected, kSettings);
  RunMenuUntil(w, menu, 190);
  EXPECT_EQ(menu.selected, kSettings);  // between bands nothing changes
  RunMenuUntil(w, menu, 290);
  EXPECT_EQ(menu.selected, kStartGame);
}

TEST(MenuPass, AMouseAtRestPullsTheSelectionBack) {
  World w("0 mouse 300 300\n40 down arrow-down\n");
  MenuState menu;
  RunMenuUntil(w, menu, 39);
  ASSERT_EQ(menu.selected, kSettings);
  MenuPass(w.platform, w.state, menu, w.platform.ReadInput());
  EXPECT_EQ(menu.selected, kHighScores);  // shown for this one frame
  MenuPass(w.platform, w.state, menu, w.platform.ReadInput());
  EXPECT_EQ(menu.selected, kSettings);
}

TEST(MenuPass, EscapeLeavesWhateverIsSelected) {
  for (const char* y : {"250", "300", "350", "400"}) {
    World w(std::string("0 mouse 300 ") + y + "\n100 press escape\n");
    MenuState menu;
    EXPECT_EQ(RunMenuUntil(w, menu, 1000), PassResult::kLeave) << y;
    EXPECT_GE(w.platform.NowMs(), 100);
  }
}

TEST(MenuPass, AClickWhileTheDisplayIsLostIsForgotten) {
  {
    World control(
        "0 mouse 300 390\n60 press mouse-left\n");  // with the display kept the click ends the menu
    MenuState menu;
    EXPECT_EQ(RunMenuUntil(control, menu, 1000), PassResult::kLeave);
  }
  World w("0 mouse 300 390\n20 lose-display 200\n60 press mouse-left\n");
  MenuState menu;
  EXPECT_EQ(RunMenuUntil(w, menu, 1000), PassResult::kStay);
  // The images came back: the frame is the menu again, not an empty screen.
  EXPECT_GT(w.CountColour(TextRow(400), Rgb(255, 255, 255)), 0);
}

TEST(MenuPass, TheSelectedLinePulsesFromGreenTowardsYellow) {
  World w("0 mouse 300 10\n");
  MenuState menu;
  MenuPass(w.platform, w.state, menu, w.platform.ReadInput());
  EXPECT_EQ(menu.pulse.highlight_color, Rgb(5, 254, 0));
  EXPECT_GT(w.CountColour(TextRow(250), Rgb(5, 254, 0)), 50);
  for (int y : {300, 350, 400}) {
    EXPECT_EQ(w.CountColour(TextRow(y), Rgb(5, 254, 0)), 0) << y;
    EXPECT_GT(w.CountColour(TextRow(y), Rgb(255, 255, 255)), 50) << y;
  }
  for (int pass = 2; pass <= 51; ++pass)
    MenuPass(w.platform, w.state, menu, w.platform.ReadInput());
  EXPECT_EQ(menu.pulse.highlight_color, Rgb(255, 254, 0));
  EXPECT_GT(w.CountColour(TextRow(250), Rgb(255, 254, 0)), 50);
  for (int pass = 52; pass <= 102; ++pass)
    MenuPass(w.platform, w.state, menu, w.platform.ReadInput());
  EXPECT_EQ(menu.pulse.highlight_color, Rgb(0, 254, 0));  // one full cycle
  MenuPass(w.platform, w.state, menu, w.platform.ReadInput());
  EXPECT_EQ(menu.pulse.highlight_color, Rgb(5, 254, 0));
}

}  // namespace
}  // namespace mw
