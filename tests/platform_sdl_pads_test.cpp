// Game pads on the desktop, through the real SDL platform and SDL's virtual
// pads: plugged in while the program runs, a game chosen and played with
// them, one pulled out while the machine gun fires and plugged in again. (A
// player's own mapping in SDL_GAMECONTROLLERCONFIG is SDL's to read: the
// game adds no mapping that could override it.)

#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <system_error>
#include <variant>

#include "app/program_loop.h"
#include "app/screens/game_screen.h"
#include "app/screens/high_score_screen.h"
#include "app/screens/menu_screen.h"
#include "platform/sdl/sdl_pads.h"
#include "platform/window_platform.h"
#include "test_world.h"

namespace mw::test {
namespace {

namespace fs = std::filesystem;

constexpr Sint16 kHalfTilt = 16384;

// A pad that SDL takes for a game controller by itself: its buttons and axes
// are numbered as SDL's game-controller buttons and axes.
class VirtualPad {
 public:
  VirtualPad() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index >= 0) joystick_ = SDL_JoystickOpen(index);
  }
  ~VirtualPad() { Unplug(); }
  VirtualPad(const VirtualPad&) = delete;
  VirtualPad& operator=(const VirtualPad&) = delete;

  bool Plugged() const { return joystick_ != nullptr; }
  void Button(SDL_GameControllerButton button, bool down) {
    SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0);
  }
  // Sticks -32768..32767; a trigger rests at -32768, which SDL makes 0.
  void Axis(SDL_GameControllerAxis axis, Sint16 value) {
    SDL_JoystickSetVirtualAxis(joystick_, axis, value);
  }
  void Unplug() {
    if (joystick_ == nullptr) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
    SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
      if (SDL_JoystickGetDeviceInstanceID(index) == id) SDL_JoystickDetachVirtual(index);
    }
  }

 private:
  SDL_Joystick* joystick_ = nullptr;
};

// A variable of the process for a test's time. Empty afterwards stands for
// unset, as SDL and the game read it.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value) : name_(name) {
    const char* old = SDL_getenv(name);
    old_ = old != nullptr ? old : "";
    SDL_setenv(name, value.c_str(), 1);
  }
  ~ScopedVariable() { SDL_setenv(name_, old_.c_str(), 1); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  std::string old_;
};

// One for each test, since CTest runs them side by side.
fs::path FreshFolder() {
  const fs::path folder =
      fs::temp_directory_path() /
      (std::string("mw_sdl_pads_") + testing::UnitTest::GetInstance()->current_test_info()->name());
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

// The program in a window of SDL's dummy driver, its table in a fresh folder.
struct DesktopProgram {
  DesktopProgram() : loop(*platform, events, err) {
    events.KeepInMemory(true);
    loop.Start();
    // The dummy driver's window never has the input focus, without which
    // SDL holds a pad's presses back.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  }
  ~DesktopProgram() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }

  // Passes until `done` holds; false if it never did.
  template <typename Done>
  bool RunUntil(Done done, int passes = 600) {
    for (int i = 0; i < passes; ++i) {
      if (done()) return true;
      if (!loop.Pass()) return false;
      // SDL starts text input only while a name is typed: on a handheld
      // PC it opens the on-screen keyboard.
      const auto* scores = dynamic_cast<const HighScoreScreen*>(loop.Top());
      const bool typing = scores != nullptr && scores->Visit().entry_row != kNoEntryRow;
      EXPECT_EQ(SDL_IsTextInputActive() == SDL_TRUE, typing) << "pass " << i;
    }
    return done();
  }
  void Run(int passes) {
    RunUntil([] { return false; }, passes);
  }
  bool InGame() const { return dynamic_cast<const GameScreen*>(loop.Top()) != nullptr; }
  int Shots() const { return CountEvents(events.Text(), "\"event\":\"sound\",\"number\":0}"); }

  fs::path folder = FreshFolder();
  ScopedVariable video{"SDL_VIDEODRIVER", "dummy"};
  ScopedVariable audio{"SDL_AUDIODRIVER", "dummy"};
  ScopedVariable oedir{"OEDIR", folder.string() + "/"};
  std::unique_ptr<Platform> platform = MakeWindowPlatform(WindowOptions{.windowed = true});
  EventLog events;
  std::ostringstream err;
  ProgramLoop loop;
};

// Leans the left stick towards a line of the menu until the menu selects it,
// slowly enough that no pass can skip a line's band.
bool StickToLine(DesktopProgram& program, VirtualPad& pad, int line) {
  const MenuState& menu = dynamic_cast<const MenuScreen&>(*program.loop.Top()).State();
  const bool reached = program.RunUntil([&] {
    if (menu.selected == line) return true;
    const bool below = menu.mouse.y > kMenuLineBands.Middle(line);
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, below ? -kHalfTilt : kHalfTilt);
    return false;
  });
  pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
  return reached;
}

TEST(SdlPads, PlayAGamePullOutAndPlugInAgain) {
  DesktopProgram program;
  program.Run(3);
  VirtualPad aim;
  ASSERT_TRUE(aim.Plugged()) << SDL_GetError();
  program.Run(2);

  // The left stick moves the pointer from line to line; A chooses.
  ASSERT_TRUE(StickToLine(program, aim, kSettings));
  ASSERT_TRUE(StickToLine(program, aim, kStartGame));
  RunState& state = program.loop.State();
  state.session.setting_choice[kGameSpeed] = 3;        // a step every frame
  state.session.setting_choice[kMachineGunSpeed] = 3;  // a shot every step
  aim.Button(SDL_CONTROLLER_BUTTON_A, true);
  ASSERT_TRUE(program.RunUntil([&] {
    return program.loop.Top() != nullptr && !dynamic_cast<const MenuScreen*>(program.loop.Top());
  }));
  aim.Button(SDL_CONTROLLER_BUTTON_A, false);
  ASSERT_TRUE(
      program.RunUntil([&] { return program.InGame() && program.loop.Play()->frame_count > 2; }));

  // A fires the rifle.
  aim.Button(SDL_CONTROLLER_BUTTON_A, true);
  ASSERT_TRUE(program.RunUntil([&] { return state.game.cartridges.Value() == 7; }));
  aim.Button(SDL_CONTROLLER_BUTTON_A, false);
  EXPECT_EQ(program.Shots(), 1);

  // A second pad: its RB takes the machine gun, the first one's right
  // trigger fires it while held.
  VirtualPad other;
  program.Run(2);
  other.Button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
  ASSERT_TRUE(program.RunUntil([&] { return state.game.weapon == 2; }));
  other.Button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, false);
  aim.Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
  ASSERT_TRUE(program.RunUntil([&] { return program.Shots() >= 6; }));

  // Pulled out while it fires: the next frame has the left button up, and
  // the gun stays silent.
  aim.Unplug();
  program.Run(1);
  EXPECT_FALSE(program.loop.Play()->left_held);
  const int shots = program.Shots();
  program.Run(30);
  EXPECT_EQ(program.Shots(), shots);

  // Plugged in again, it fires at once.
  VirtualPad again;
  program.Run(1);
  again.Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
  ASSERT_TRUE(program.RunUntil([&] { return program.Shots() >= shots + 3; }, 30));
  again.Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);

  // Back ends the game; a score for the table has a name typed, and only
  // then is SDL's text input on (RunUntil checks it on every pass).
  state.game.score.SetValue(5000);
  again.Button(SDL_CONTROLLER_BUTTON_BACK, true);
  ASSERT_TRUE(program.RunUntil(
      [&] { return dynamic_cast<const HighScoreScreen*>(program.loop.Top()) != nullptr; }));
  EXPECT_NE(dynamic_cast<const HighScoreScreen&>(*program.loop.Top()).Visit().entry_row,
            kNoEntryRow);
  EXPECT_TRUE(SDL_IsTextInputActive());
  EXPECT_EQ(program.err.str(), "");
}

}  // namespace
}  // namespace mw::test

namespace mw {
namespace {

// A pad's event moves the pointer from the moment SDL stamped it, also when
// SDL's 32-bit stamps have wrapped round, and never from before the start.
TEST(SdlPads, AnEventHappensWhenSdlStampedIt) {
  EXPECT_EQ(FrameClockOfStamp(5000, 4990, 1000), kClockStart + 3990);
  const Uint64 wrapped = (Uint64{1} << 32) + 20;
  EXPECT_EQ(FrameClockOfStamp(wrapped, 0xFFFFFFF6u, 1000),
            kClockStart + static_cast<std::int64_t>(wrapped - 1000 - 30));
  EXPECT_EQ(FrameClockOfStamp(1500, 400, 1000), kClockStart);
}

}  // namespace
}  // namespace mw
