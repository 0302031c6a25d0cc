#pragma once
// The state of the game. RunGameState lives for the whole run, so what a game
// leaves behind for the next one (the ship's hits and sinking, the machine
// gun's counter, the ring of messages, the rifle's saved cartridges, the
// cursor and the last aim point, the splat positions, the guarded values)
// carries over by itself. OneGameState is made afresh for every game.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "drawing/drawing_types.h"
#include "shared/guarded_values.h"
#include "shared/numbers.h"

namespace mw {

struct Gull {
  std::int16_t x = 0;  // panorama column = X + 960
  std::int16_t y = 0;  // top of the picture at screen row Y + 240
  std::int16_t drift_x = 0;
  std::int16_t drift_y = 0;
  std::int16_t distance = 0;  // steps left to the viewer; -1 = fallen into the sea
  std::int16_t frame = 0;     // 0 = hit and falling, 1..8 wing beat
};

struct SplatPos {
  std::int32_t x = 0;  // panorama column
  std::int32_t y = 0;  // 0..379
  bool operator==(const SplatPos&) const = default;
};

struct MessageSlot {
  std::int16_t x = 0;  // > 0: panorama x; <= 0: fixed screen x -X
  std::int16_t y = 0;  // screen y of the text's top
  std::int16_t life = 0;
  std::string text;  // Windows-1252
};

// The game's sound effects, by the numbers the event log gives them.
enum class Sound : int {
  kShot = 0,
  kEmptyRifle = 1,
  kReload = 3,
  kTimeRunningOut = 4,
  kSplat = 5,
  kGullHit = 6,
  kShipHit = 7,
};

constexpr int kMaxSplats = 500;
// The rifle's cartridges when it is full: at the start of a game and after a
// reload, which costs a point for each.
constexpr std::int32_t kRifleMagazine = 8;
constexpr int kMessageSlots = 11;

struct RunGameState {
  // True when a guarded value of the game was edited from outside.
  bool Tampered() const {
    return score.Tampered() || time_left.Tampered() || step_interval.Tampered() ||
           mg_steps_per_shot.Tampered() || splat_one_in.Tampered() || view_x.Tampered() ||
           cartridges.Tampered() || saved_cartridges.Tampered();
  }

  GuardedNumber score;
  GuardedNumber time_left;
  GuardedNumber step_interval;
  GuardedNumber mg_steps_per_shot;  // the machine gun fires on every Nth step
  GuardedNumber splat_one_in;       // a gull reaching the viewer splats with chance 1 in N
  GuardedNumber view_x;
  GuardedNumber cartridges;
  GuardedNumber saved_cartridges;

  std::uint8_t weapon = 0;  // 1 rifle, 2 machine gun
  std::uint8_t mg_counter = 0;
  std::int32_t splat_count = 0;
  std::array<SplatPos, kMaxSplats + 1> splats{};  // entry 0 is never drawn
  std::vector<Gull> gulls;                        // 0..GullCount, entry 0 unused

  std::int16_t ship_x = 0;
  std::int16_t ship_distance = 0;
  std::int16_t ship_sinking = 0;
  std::int16_t ship_hits = 0;

  std::array<MessageSlot, kMessageSlots> messages{};
  std::int32_t message_index = 0;

  Point cursor_pos{};
  Point shot_pos{};

  // Each play takes the next of 100 sound channels, so a play replaces the
  // one made a hundred plays before.
  std::int32_t sound_channel = 0;
  GameRandom random;  // one generator for the whole run
};

// Why a game ended.
enum class GameEnd { kNone, kTime, kEscape, kClose };

// A floating message as a frame shows it: the text where it stood before it
// rose and aged in that frame.
struct ShownMessage {
  Point at;  // screen pixels
  bool loss = false;
  std::string text;  // Windows-1252
};

// The state of the game being played, made afresh for every game: its clock
// marks and counters, the buttons held, and what the frame shows of values
// that later rules of the same frame change.
struct OneGameState {
  bool step_due = false;
  std::int64_t last_step_tick = 0;
  std::int64_t start_tick = 0;
  std::int64_t frame_count = 0;
  std::int64_t fps = 0;
  std::int64_t last_second_tick = 0;
  std::int32_t score_at_last_second = 0;
  bool shot_fired = false;
  bool left_held = false;
  bool right_held = false;

  // What this frame shows: the wiper's one-frame flash, the ship as it stood
  // before a shot of this frame hit it, and the messages before they rose.
  bool wiper_flashed = false;
  std::int16_t ship_sinking_shown = 0;
  std::array<ShownMessage, kMessageSlots> shown_messages{};
  std::size_t shown_message_count = 0;
};

}  // namespace mw
