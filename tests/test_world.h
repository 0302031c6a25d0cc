#pragma once
// One way to drive the program in a test: input values in, state and pixels
// out. A World is the program's state on the headless platform. Its input
// comes from a script (or the platform's hands and hook) through
// platform.ReadInput(), or is made by hand with Input and passed straight to
// a pass.

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_menu.h"
#include "app/program_state.h"
#include "game/phases.h"
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

inline HeadlessOptions Options(bool sound_device = true, PixelFormat format = kRgb565) {
  HeadlessOptions options;
  options.sound_device = sound_device;
  options.format = format;
  return options;
}

// Counts the places in an event log that hold `needle`.
inline int CountEvents(const EventLog& log, std::string_view needle) {
  int count = 0;
  for (std::size_t at = log.Text().find(needle); at != std::string::npos;
       at = log.Text().find(needle, at + needle.size())) {
    ++count;
  }
  return count;
}

// The program's state with the settings filled in and the shell's display
// open, as the menu has it before its first pass.
struct World {
  // The script should reach past the end of what the test runs, or the
  // platform stops 60 s of virtual time after its last line.
  explicit World(std::string_view script = kLongRun, HeadlessOptions options = Options())
      : platform(ParseScript(script, "test.script"), std::move(options)) {
    platform.Events().KeepInMemory(true);
    ChooseDefaultSettings(session);
    OpenDisplay(platform, display);
  }

  // A game prepared from the settings and set up as RunGame does it.
  void SetUpGame() {
    PrepareGame(session, game);
    play = PlayState{};
    mw::SetUpGame(ctx, platform.ReadInput().clock);
  }
  // One frame with the platform's input; false once the game has ended.
  bool PlayFrame() { return RunFrame(ctx, platform.ReadInput()); }
  // Runs frames until the game ends or `frames` have run; true if it ended.
  bool PlayFrames(int frames) {
    for (int i = 0; i < frames; ++i) {
      if (!PlayFrame()) return true;
    }
    return false;
  }

  // The effect numbers of the sounds played, in order.
  std::vector<int> Sounds() {
    std::vector<int> numbers;
    const std::string key = "\"event\":\"sound\",\"number\":";
    const std::string& log = platform.Events().Text();
    for (std::size_t at = log.find(key); at != std::string::npos; at = log.find(key, at + 1)) {
      numbers.push_back(std::stoi(log.substr(at + key.size())));
    }
    return numbers;
  }

  HeadlessPlatform platform;  // declared first: outlives every surface below
  ProgramState state;
  Session& session = state.session;
  DisplayState& display = state.display;
  GameState& game = state.game;
  PlayState play;
  GameContext ctx{platform, session, game, play};
};

// A game as the phases of one frame see it, without the frame loop: the
// game's BackBuffer, images and sounds, a full rifle, and a ship far off to
// the left where no shot on screen reaches it. The hands are `held` (keys
// and buttons down) and `mouse`.
struct PhaseWorld : World {
  PhaseWorld() {
    OpenSounds(platform, game);
    MakeGameBackBuffer(platform, game);
    game.score.SetValue(0);
    game.view_x.SetValue(640);
    game.cartridges.SetValue(8);
    game.mg_steps_per_shot.SetValue(10);
    game.splat_one_in.SetValue(5);
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
    std::vector<Shown> out;
    for (std::int32_t i = since; i != game.message_index;) {
      i = (i + 1) % 10;
      const MessageSlot& slot = game.messages[static_cast<std::size_t>(i)];
      out.push_back({slot.x, slot.y, slot.text});
    }
    return out;
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

  std::set<int> held;
  Point mouse{320, 240};
};

}  // namespace mw::test
