#pragma once
// The ways a test drives the program: input values in, state, log lines and
// pixels out. Program runs the whole program on the headless platform, one
// pass of its loop at a time, with input from a script or the platform's
// hands. PhaseWorld runs the rules of one game frame by frame, with input
// made by hand (Input), without any platform.

#include <cstdint>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/program_loop.h"
#include "app/screens/game_screen.h"
#include "app/screens/high_score_screen.h"
#include "app/screens/lost_display_wait.h"
#include "app/screens/menu_screen.h"
#include "app/screens/message_box_screen.h"
#include "app/screens/release_wait.h"
#include "app/screens/settings_screen.h"
#include "game/frame_rules.h"
#include "platform/headless/headless_platform.h"
#include "script/script.h"

namespace mw::test {

// What the player did since the pass before, made by hand.
class Input {
 public:
  explicit Input(std::int64_t clock = kClockStart) { frame_.clock = clock; }
  // Held down since before the last pass.
  Input& Held(int key) {
    Key(key).down = true;
    return *this;
  }
  // Went down and up again between two passes.
  Input& Tapped(int key) {
    ++Key(key).presses;
    return *this;
  }
  Input& Mouse(Point p) {
    frame_.mouse = p;
    return *this;
  }
  operator InputFrame() const { return frame_; }  // NOLINT: meant to convert

 private:
  KeyState& Key(int key) { return frame_.keys.at(static_cast<std::size_t>(key)); }
  InputFrame frame_;
};

// A script line far in the future keeps the virtual clock running that long.
inline constexpr const char* kLongRun = "600000 mouse 320 240\n";

// A headless machine whose environment is empty but for `environment`.
inline HeadlessOptions Options(bool sound_device = true, PixelFormat format = kRgb565,
                               std::map<std::string, std::string> environment = {}) {
  HeadlessOptions options;
  options.sound_device = sound_device;
  options.format = format;
  options.environment = std::move(environment);
  return options;
}

// Counts the places in a log that hold `needle`.
inline int CountEvents(const std::string& log, std::string_view needle) {
  int count = 0;
  for (std::size_t at = log.find(needle); at != std::string::npos;
       at = log.find(needle, at + needle.size())) {
    ++count;
  }
  return count;
}

// The whole program on the headless platform, started, one pass at a time.
struct Program {
  // The script should reach past the end of what the test runs, or the
  // platform stops 60 s of virtual time after its last line.
  explicit Program(std::string_view script = kLongRun, HeadlessOptions options = Options())
      : platform(ParseScript(script, "test.script"), std::move(options)),
        loop(platform, events, err) {
    events.KeepInMemory(true);
    loop.Start();
  }

  // Passes until the program ends or `passes` have run; true if it ended.
  bool Run(int passes = 1'000'000) {
    for (int i = 0; i < passes; ++i) {
      if (!loop.Pass()) return true;
    }
    return false;
  }
  // Passes until `done` holds (checked before each), or the program ends.
  template <typename Done>
  bool RunUntil(Done done, int passes = 1'000'000) {
    for (int i = 0; i < passes; ++i) {
      if (done()) return true;
      if (!loop.Pass()) return false;
    }
    return false;
  }

  // The screen on top, if it is a T.
  template <typename T>
  const T* On() const {
    return dynamic_cast<const T*>(loop.Top());
  }
  bool InMenu() const { return On<MenuScreen>() != nullptr; }
  const std::string& Log() const { return events.Text(); }

  HeadlessPlatform platform;  // declared first: outlives every surface below
  EventLog events;
  std::ostringstream err;
  ProgramLoop loop;
};

// Answers the set-up's one question: a sound device, or none.
struct SoundDeviceOnly : Outside {
  explicit SoundDeviceOnly(bool present = true) : present_(present) {}
  std::string ProgramFolder() override { return {}; }
  std::string UserDataFolder() override { return {}; }
  std::string EnvironmentVariable(const std::string&) override { return {}; }
  bool FolderIsWritable(const std::string&) override { return false; }
  FileReadResult ReadFile(const std::string&, std::size_t) override { return {}; }
  std::string ReplaceFile(const std::string&, std::span<const std::uint8_t>) override { return {}; }
  bool OpenSoundDevice() override { return present_; }

 private:
  bool present_;
};

// One game's rules, frame by frame, as the loop runs them: a full rifle, the
// view in the middle, and a ship far off to the left where no shot on screen
// reaches it. The hands are `held` (keys and buttons down) and `mouse`.
struct PhaseWorld {
  PhaseWorld() {
    game.score.SetValue(0);
    game.view_x.SetValue(640);
    game.cartridges.SetValue(8);
    game.mg_steps_per_shot.SetValue(10);
    game.splat_one_in.SetValue(5);
    game.step_interval.SetValue(100);
    game.time_left.SetValue(90);
    game.weapon = 1;
    game.ship_x = -200;
    game.ship_distance = 3;
  }

  // One frame of the gameplay phases, in frame order.
  void Frame(bool step = false) {
    Input input;
    input.Mouse(mouse);
    for (const int key : held) input.Held(key);
    play.step_due = step;
    WeaponPhase(ctx, input);
    GullPhase(ctx);
    ShipPhase(ctx);
  }
  // A click: pressed for one frame, then released for one.
  void Click(Point at) {
    mouse = at;
    held.insert(vk::kLeftButton);
    Frame();
    held.erase(vk::kLeftButton);
    Frame();
  }

  struct Shown {
    std::int32_t x;
    std::int32_t y;
    std::string text;
    bool operator==(const Shown&) const = default;
  };
  // The messages shown since the ring was last at `since` (oldest first).
  std::vector<Shown> MessagesSince(std::int32_t since) const {
    std::vector<Shown> shown;
    for (std::int32_t i = since; i != game.message_index;) {
      i = (i + 1) % 10;
      const MessageSlot& slot = game.messages[static_cast<std::size_t>(i)];
      shown.push_back({slot.x, slot.y, slot.text});
    }
    return shown;
  }

  // A game chosen with the session's settings and set up as the loop does it,
  // its clock on the headless platform's time.
  void StartGame() {
    PrepareGame(session, game);
    play = OneGameState{};
    SoundDeviceOnly sound_device;
    SetUpGame(game, play, NextClock(), sound_device);
  }
  // One whole frame's rules with the hands, at the time the loop would take
  // its sample (frames 1/60 s apart); false when the time ran out in it.
  bool PlayFrame() {
    Input input(NextClock());
    input.Mouse(mouse);
    for (const int key : held) input.Held(key);
    const bool shown = StepFrame(ctx, input);
    if (shown) ticks_ = (ticks_ / kFrameTicks + 1) * kFrameTicks;
    return shown;
  }
  // Frames until the time runs out or `frames` have run; true if it ran out.
  bool PlayFrames(int frames) {
    for (int i = 0; i < frames; ++i) {
      if (!PlayFrame()) return true;
    }
    return false;
  }
  // The frames' log lines.
  std::string Log() const {
    EventLog log;
    log.KeepInMemory(true);
    for (const Event& event : out.events) log.Write(event);
    return log.Text();
  }

  // The effect numbers of the sounds asked for, in order.
  std::vector<int> Sounds() const {
    std::vector<int> numbers;
    for (const Event& event : out.events) {
      if (const auto* sound = std::get_if<SoundEvent>(&event)) numbers.push_back(sound->number);
    }
    return numbers;
  }

  // Adds a flying gull and returns its index (entry 0 is never used).
  std::size_t AddGull(std::int16_t x, std::int16_t y, std::int16_t distance) {
    if (game.gulls.empty()) game.gulls.emplace_back();
    Gull g;
    g.x = x;
    g.y = y;
    g.distance = distance;
    g.frame = 1;
    game.gulls.push_back(g);
    return game.gulls.size() - 1;
  }

  Session session;
  RunGameState game;
  OneGameState play;
  Outbox out;
  GameContext ctx{game, play, out};
  std::set<int> held;
  Point mouse{320, 240};

 private:
  // A sample advances the headless clock by 0.01 ms, a shown frame to the
  // next 1/60 s (ticks of 1/300 ms).
  static constexpr std::int64_t kFrameTicks = 5000;
  std::int64_t NextClock() {
    ticks_ += 3;
    return kClockStart + ticks_ / kTicksPerMs;
  }
  std::int64_t ticks_ = 0;
};

}  // namespace mw::test
