// Pads and fingers turned into the mouse and keys the game knows: how the
// stick moves the pointer, what a press means on each screen, what a finger
// does, and how a touch keyboard's text field becomes typing.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/main_menu.h"
#include "app/settings_menu.h"
#include "input/hands.h"
#include "input/name_letters.h"
#include "input/stick_pointer.h"
#include "input/text_field_typing.h"
#include "text/cp1252.h"

namespace mw {
namespace {

constexpr int kPad = 7;

InputContext ScreenContext(InputContext::Screen screen) {
  InputContext context;
  context.screen = screen;
  context.calm_left = 10;
  context.calm_right = 630;
  return context;
}

InputContext NameEntry(std::string name) {
  InputContext context = ScreenContext(InputContext::Screen::kNameEntry);
  context.name = Utf8ToCp1252(name);
  context.name_limit = 18;
  return context;
}

// Hands with a pad plugged in, sampled as a platform would: the mouse rests
// where the device last saw it.
struct Player {
  explicit Player(InputContext context = ScreenContext(InputContext::Screen::kGame)) {
    hands.SetContext(std::move(context));
    hands.PadPlugged(kPad);
    Sample(kClockStart);
  }
  InputFrame Sample(std::int64_t clock) {
    InputFrame frame;
    frame.clock = clock;
    frame.mouse = device_mouse;
    hands.Apply(frame);
    return frame;
  }
  void Stick(double x, double y) {
    hands.PadAxisMoved(kPad, PadAxis::kLeftX, x);
    hands.PadAxisMoved(kPad, PadAxis::kLeftY, y);
  }
  void Button(PadButton button, bool down) { hands.PadButtonChanged(kPad, button, down); }
  void Press(PadButton button) {
    Button(button, true);
    Button(button, false);
  }
  Hands hands;
  Point device_mouse{320, 240};
};

double Speed(StickVelocity v) {
  return std::sqrt(static_cast<double>(v.x * v.x + v.y * v.y));
}

TEST(PadStick, RestsInTheDeadZoneCreepsJustPastItAndIsNoFasterDiagonally) {
  EXPECT_EQ(VelocityOfStick(0.0, 0.0, false), StickVelocity{});
  EXPECT_EQ(VelocityOfStick(0.14, -0.14, false), StickVelocity{}) << "a worn stick's rest";
  EXPECT_EQ(VelocityOfStick(NAN, 0.5, false), StickVelocity{});

  const StickVelocity creep = VelocityOfStick(0.21, 0.0, false);
  EXPECT_GT(creep.x, 0) << "a slow push still moves";
  EXPECT_LT(creep.x, VelocityOfStick(0.5, 0.0, false).x);

  const StickVelocity straight = VelocityOfStick(1.0, 0.0, false);
  EXPECT_NEAR(static_cast<double>(straight.x) * 1000 / kSubpixels, 640, 1)
      << "about one picture width a second";
  EXPECT_LE(Speed(VelocityOfStick(1.0, 1.0, false)), Speed(straight) + 1);
  EXPECT_LE(Speed(VelocityOfStick(0.8, -0.8, false)), Speed(straight) + 1);
  EXPECT_LT(Speed(VelocityOfStick(1.0, 0.0, true)), Speed(straight) / 2) << "slow aim";
}

TEST(PadStick, MovesThePointerTheSameWhateverTheFrameRateAndReachesTheEdges) {
  Player short_frames;
  Player long_frames;
  short_frames.Stick(0.6, -0.3);
  long_frames.Stick(0.6, -0.3);
  // Frames a millisecond apart, as SDL may stamp two events, move it as far.
  InputFrame a;
  for (std::int64_t clock = kClockStart; clock <= kClockStart + 341; ++clock) {
    a = short_frames.Sample(clock);
  }
  InputFrame b = long_frames.Sample(kClockStart + 170);
  b = long_frames.Sample(kClockStart + 341);
  EXPECT_EQ(a.mouse, b.mouse);
  EXPECT_GT(a.mouse.x, 320);
  EXPECT_LT(a.mouse.y, 240);

  // A resting stick leaves the pointer where it is, however long; so does a
  // pad that reports nonsense.
  Player resting;
  resting.Stick(0.1, 0.05);
  resting.hands.PadAxisMoved(kPad, PadAxis::kLeftTrigger, NAN);
  resting.hands.PadAxisMoved(kPad, PadAxis::kRightX, NAN);
  resting.hands.PadButtonChanged(kPad, static_cast<PadButton>(kPadButtonCount), true);
  EXPECT_EQ(resting.Sample(kClockStart + 60'000).mouse, (Point{320, 240}));

  Player edges;
  edges.Stick(1.0, 1.0);
  for (int i = 1; i <= 90; ++i) edges.Sample(kClockStart + 17 * i);
  EXPECT_EQ(edges.Sample(kClockStart + 2000).mouse, (Point{639, 479}));
  edges.Stick(-1.0, -1.0);
  for (int i = 1; i <= 90; ++i) edges.Sample(kClockStart + 2000 + 17 * i);
  EXPECT_EQ(edges.Sample(kClockStart + 4000).mouse, (Point{0, 0}));
}

TEST(PadStick, TheMouseTakesThePointerBackWhenItMoves) {
  Player player;
  player.Stick(1.0, 0.0);
  player.Sample(kClockStart + 100);
  player.Stick(0.0, 0.0);
  EXPECT_EQ(player.Sample(kClockStart + 200).mouse.y, 240);
  EXPECT_GT(player.Sample(kClockStart + 200).mouse.x, 370) << "the resting mouse is not seen";
  player.device_mouse = {5, 6};
  EXPECT_EQ(player.Sample(kClockStart + 300).mouse, (Point{5, 6}));
}

TEST(PadButtons, APressBetweenTwoSamplesCountsAndHeldKeysAreDownUntilLetGo) {
  Player player;
  player.Press(PadButton::kA);
  player.Press(PadButton::kA);
  InputFrame frame = player.Sample(kClockStart + 16);
  EXPECT_EQ(frame.keys[vk::kLeftButton], (KeyState{false, 2}));

  // The trigger and A are the same button: it went down once, and stays down
  // until both are let go.
  player.hands.PadAxisMoved(kPad, PadAxis::kRightTrigger, 0.5);
  player.Button(PadButton::kA, true);
  EXPECT_EQ(player.Sample(kClockStart + 32).keys[vk::kLeftButton], (KeyState{true, 1}));
  player.Button(PadButton::kA, false);
  EXPECT_TRUE(player.Sample(kClockStart + 48).keys[vk::kLeftButton].down);
  // A trigger resting near its mark does not chatter.
  player.hands.PadAxisMoved(kPad, PadAxis::kRightTrigger, 0.1);
  EXPECT_EQ(player.Sample(kClockStart + 64).keys[vk::kLeftButton], (KeyState{true, 0}));
  player.hands.PadAxisMoved(kPad, PadAxis::kRightTrigger, 0.0);
  EXPECT_FALSE(player.Sample(kClockStart + 80).keys[vk::kLeftButton].down);

  // (X and the shoulders are in the golden pad run.)
  player.Press(PadButton::kStart);
  player.hands.PadAxisMoved(kPad, PadAxis::kRightX, -0.9);
  frame = player.Sample(kClockStart + 96);
  EXPECT_EQ(frame.typed, "\r") << "Enter types its character, as a keyboard's does";
  EXPECT_TRUE(frame.keys[vk::kLeft].down) << "the right stick is the arrow keys";
  player.hands.PadAxisMoved(kPad, PadAxis::kRightX, 0.9);
  frame = player.Sample(kClockStart + 112);
  EXPECT_FALSE(frame.keys[vk::kLeft].down);
  EXPECT_TRUE(frame.keys[vk::kRight].down);
}

// B is Escape outside a running game, and does nothing in one (the golden
// pad run); what a button does is decided when it goes down.
TEST(PadButtons, BIsEscapeEverywhereButInARunningGame) {
  // B held from the menu into the game stays Escape until it is let go.
  Player menu(ScreenContext(InputContext::Screen::kOther));
  menu.Button(PadButton::kB, true);
  EXPECT_TRUE(menu.Sample(kClockStart + 16).Down(vk::kEscape));
  menu.hands.SetContext(ScreenContext(InputContext::Screen::kGame));
  EXPECT_EQ(menu.Sample(kClockStart + 32).keys[vk::kEscape], (KeyState{true, 0}));
  menu.Button(PadButton::kB, false);
  EXPECT_FALSE(menu.Sample(kClockStart + 48).Down(vk::kEscape));
}

TEST(PadButtons, UnpluggingLetsGoOfEverythingThePadHeldAndLeavesTheOtherPad) {
  Player player;
  player.hands.PadPlugged(kPad + 1);
  player.hands.PadAxisMoved(kPad, PadAxis::kRightTrigger, 1.0);
  player.Button(PadButton::kDpadRight, true);
  player.hands.PadButtonChanged(kPad + 1, PadButton::kX, true);
  player.Stick(1.0, 0.0);
  InputFrame frame = player.Sample(kClockStart + 16);
  EXPECT_TRUE(frame.Down(vk::kLeftButton));
  EXPECT_TRUE(frame.Down(vk::kRight));
  player.hands.PadUnplugged(kPad);
  frame = player.Sample(kClockStart + 32);
  EXPECT_FALSE(frame.Down(vk::kLeftButton)) << "the machine gun stops";
  EXPECT_FALSE(frame.Down(vk::kRight));
  EXPECT_TRUE(frame.Down(vk::kRightButton)) << "the other pad's X";
  EXPECT_EQ(player.Sample(kClockStart + 500).mouse, frame.mouse) << "its stick moves no more";
  EXPECT_EQ(player.hands.PadCount(), 1);
}

// On a menu the line under the resting pointer is chosen every pass, so up
// and down move the pointer to the next line's band; elsewhere they are the
// arrow keys.
TEST(PadButtons, OnAMenuUpAndDownMoveThePointerFromLineToLine) {
  InputContext context = ScreenContext(InputContext::Screen::kMenu);
  context.lines = kMenuLineBands;
  Player player(context);
  player.device_mouse = {100, 250};
  EXPECT_EQ(MenuEntryAt(player.Sample(kClockStart + 16).mouse.y), kStartGame);
  player.Press(PadButton::kDpadDown);
  InputFrame frame = player.Sample(kClockStart + 32);
  EXPECT_EQ(MenuEntryAt(frame.mouse.y), kSettings);
  EXPECT_EQ(frame.mouse.y, kMenuLineBands.Middle(kMenuLineBands.LineAt(frame.mouse.y)))
      << "in the middle of its line";
  EXPECT_FALSE(frame.Down(vk::kDown)) << "one step, not two";
  EXPECT_EQ(frame.mouse.x, 100);
  player.Press(PadButton::kDpadUp);
  player.Press(PadButton::kDpadUp);
  EXPECT_EQ(MenuEntryAt(player.Sample(kClockStart + 48).mouse.y), kEnd) << "round the top";

  // Right stick down past half its travel is a press of down, once.
  context.lines = kSettingsLineBands;
  player.hands.SetContext(context);
  player.device_mouse = {100, 350};
  EXPECT_EQ(SettingsLineAt(player.Sample(kClockStart + 56).mouse.y), kBackLine);
  player.hands.PadAxisMoved(kPad, PadAxis::kRightY, 0.9);
  player.hands.PadAxisMoved(kPad, PadAxis::kRightY, 0.45);
  player.hands.PadAxisMoved(kPad, PadAxis::kRightY, 0.8);
  EXPECT_EQ(SettingsLineAt(player.Sample(kClockStart + 64).mouse.y), 1) << "from 5, round";
}

TEST(PadNames, UpAndDownTurnTheLastLetterAndTheShouldersJumpGroups) {
  Player player(NameEntry(""));
  std::string typed;
  const auto edit = [&](PadButton button) {
    player.Press(button);
    const InputFrame frame = player.Sample(kClockStart + 16);
    typed += frame.typed;
    return frame.typed;
  };
  EXPECT_EQ(edit(PadButton::kDpadUp), "A");
  EXPECT_EQ(edit(PadButton::kDpadDown), "\b?") << "round to the ring's end";
  EXPECT_EQ(edit(PadButton::kRightShoulder), "\bA") << "from the marks to the capitals";
  EXPECT_EQ(edit(PadButton::kLeftShoulder), "\b ");
  EXPECT_EQ(edit(PadButton::kRightShoulder), "\bA");
  EXPECT_EQ(edit(PadButton::kA), "a") << "a letter after a capital is mostly small";
  EXPECT_EQ(edit(PadButton::kLeftShoulder), "\bA");
  EXPECT_EQ(edit(PadButton::kDpadDown), "\b?");
  EXPECT_EQ(edit(PadButton::kB), "\b");
  EXPECT_EQ(edit(PadButton::kDpadLeft), "\b");
  EXPECT_EQ(edit(PadButton::kDpadLeft), "") << "nothing left to delete";
  EXPECT_EQ(edit(PadButton::kLeftShoulder), " ") << "an empty name starts at a group";
  EXPECT_EQ(edit(PadButton::kB), "\b");
  EXPECT_EQ(edit(PadButton::kRightShoulder), "A");
  EXPECT_EQ(edit(PadButton::kB), "\b");
  EXPECT_FALSE(player.Sample(kClockStart + 32).Down(vk::kEscape)) << "B deletes here";

  // The umlauts come after Z and after z.
  player.hands.SetContext(NameEntry("Z"));
  EXPECT_EQ(Cp1252ToUtf8(edit(PadButton::kDpadUp)), "\bÄ");
  player.hands.SetContext(NameEntry("Jü"));
  EXPECT_EQ(Cp1252ToUtf8(edit(PadButton::kDpadUp)), "\bß");

  // A character the ring does not hold (typed on a keyboard) starts it anew.
  player.hands.SetContext(NameEntry("Jo#"));
  EXPECT_EQ(edit(PadButton::kDpadDown), "\bA");

  // The name's limit holds, as the table's does.
  player.hands.SetContext(NameEntry(std::string(18, 'x')));
  EXPECT_EQ(edit(PadButton::kDpadRight), "");
  EXPECT_EQ(edit(PadButton::kDpadUp), "\by");
}

// A tap is the first finger's (the golden touch run taps, scrolls, cancels
// and types a name); here the edges: two taps between two samples, and a
// finger cancelled against the edge.
TEST(Fingers, TheFirstFingerIsThePointerAndTheLeftButtonOnePressPerTap) {
  Hands hands;
  hands.SetContext(ScreenContext(InputContext::Screen::kGame));
  const auto sample = [&hands](std::int64_t clock) {
    InputFrame frame;
    frame.clock = clock;
    hands.Apply(frame);
    return frame;
  };
  sample(kClockStart);
  hands.FingerDown(3, {200, 100});
  hands.FingerUp(3);
  hands.FingerDown(4, {210, 110});
  InputFrame frame = sample(kClockStart + 16);
  EXPECT_EQ(frame.keys[vk::kLeftButton], (KeyState{true, 2})) << "two taps, the second held";
  EXPECT_EQ(frame.mouse, (Point{210, 110}));
  hands.FingerUp(4);

  // Cancelled by the system: let go, and the pointer kept off the edge, so
  // the view stops scrolling.
  hands.FingerDown(1, {0, 50});
  hands.FingersCancelled();
  frame = sample(kClockStart + 80);
  EXPECT_EQ(frame.keys[vk::kLeftButton], (KeyState{false, 1}));
  EXPECT_EQ(frame.mouse, (Point{10, 50}));
  hands.FingerUp(1);
  EXPECT_EQ(sample(kClockStart + 96).keys[vk::kLeftButton], (KeyState{}));
}

TEST(TouchKeyboard, TheFieldsChangesBecomeTheBackspacesAndCharactersOfAKeyboard) {
  TextFieldTyping field;
  field.Reset("Jo", 18);
  EXPECT_EQ(field.Changed("Jorg"), "rg");
  EXPECT_EQ(Cp1252ToUtf8(field.Changed("Jörg")), "\b\b\börg") << "autocorrect";
  EXPECT_EQ(field.Changed("Jög"), "\b\bg") << "an edit in the middle";
  EXPECT_EQ(field.Changed("Jö"), "\b");
  EXPECT_EQ(field.Changed("Jö"), "");
  EXPECT_EQ(field.Changed("Jö\n\b🐦x"), "x") << "no control characters, nothing Windows-1252 lacks";
  EXPECT_EQ(field.Changed(std::string(30, 'y')), "\b\b\b" + std::string(18, 'y'));
  EXPECT_EQ(field.NameUtf8(), std::string(18, 'y')) << "kept to the table's limit";
  field.Reset("Anna", 18);
  EXPECT_EQ(field.Changed(""), "\b\b\b\b");
}

}  // namespace
}  // namespace mw
