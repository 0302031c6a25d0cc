#pragma once
// The state of the game module. GameState lives for the whole run, so what a
// game leaves behind for the next one (ShipHits, ShipSinking, MgCounter,
// MessageIndex, SavedCartridges, CursorPos, ShotPos, the Splats entries, the
// holders) carries over by itself. PlayState is made afresh for every game.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "drawing/drawing_types.h"
#include "platform/platform.h"
#include "platform/surface.h"
#include "shared/guarded_values.h"
#include "shared/numbers.h"
#include "shared/session.h"

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

struct SoundTable {
  std::array<SoundBuffer, 8> sound_buffers{};  // entry 2 stays empty
  std::int32_t play_index = 0;  // the ring of 100 copies is the platform's channels 0..99
};

constexpr int kMaxSplats = 500;

// The splats on the windscreen drawn once into a panorama-wide layer, cut into
// narrow strips, so a frame copies what they cover instead of every splat, and
// a new splat redraws one or two strips only (splats.cpp).
struct SplatLayer {
  std::vector<Surface> strips;
  std::vector<SplatPos> drawn;  // the splats the strips show, in drawing order
};
constexpr int kMessageSlots = 11;

struct GameState {
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

  Font game_font{"Times New Roman", 20, false};

  // The game draws into a BackBuffer of its own (840x580, see
  // screen_geometry.h), so the screens around it keep theirs.
  Surface back_buffer;
  Surface crosshair;
  Surface panorama_image;
  Surface cartridge_image;
  Surface splat_image;
  Surface ship_image;
  // The six gull pictures; GullImage(frame) maps the nine frames onto them.
  std::array<Surface, 6> gull_pictures;

  SoundTable sounds;
  SplatLayer splat_cache;
  GameRandom random;  // one generator for the whole run
};

// GullImages 0..8: 0 falling, 1..8 the wing beat 7 8 9 8 7 10 11 10.
const Surface& GullImage(const GameState& game, int frame);

// Why a game ended.
enum class GameEnd { kNone, kTime, kEscape, kClose };

// The state of the game being played, made afresh for every game: its clock
// marks and counters, the buttons held, and the end.
struct PlayState {
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
  GameEnd end = GameEnd::kNone;
};

// Everything a phase of a frame works on.
struct GameContext {
  Platform& platform;
  Session& session;
  GameState& game;
  PlayState& play;
};

// Game BackBuffer: 840x580, of which (100,50)-(740,530) is shown.
constexpr int kGameBackBufferWidth = 840;
constexpr int kGameBackBufferHeight = 580;

}  // namespace mw
