#pragma once
// The state of the game module. GameState lives for the whole run, so what a
// game leaves behind for the next one (ShipHits, ShipSinking, MgCounter,
// MessageIndex, SavedCartridges, CursorPos, ShotPos, the Splats entries, the
// holders) carries over by itself. PlayState is made afresh for every game.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/surface.h"
#include "platform/types.h"
#include "shared/guarded_values.h"
#include "shared/numbers.h"
#include "shared/session.h"

namespace mw {

struct Gull {
  std::int16_t X = 0;  // panorama column = X + 960
  std::int16_t Y = 0;  // top of the picture at screen row Y + 240
  std::int16_t DriftX = 0;
  std::int16_t DriftY = 0;
  std::int16_t Distance = 0;  // steps left to the viewer; -1 = fallen into the sea
  std::int16_t Frame = 0;     // 0 = hit and falling, 1..8 wing beat
};

struct SplatPos {
  std::int32_t X = 0;  // panorama column
  std::int32_t Y = 0;  // 0..379
  bool operator==(const SplatPos&) const = default;
};

struct MessageSlot {
  std::int16_t X = 0;  // > 0: panorama x; <= 0: fixed screen x -X
  std::int16_t Y = 0;  // screen y of the text's top
  std::int16_t Life = 0;
  std::string Text;  // Windows-1252
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
  std::array<SoundBuffer, 8> SoundBuffers{};  // entry 2 stays empty
  std::int32_t PlayIndex = 0;  // the ring of 100 copies is the platform's channels 0..99
};

constexpr int kMaxSplats = 500;

// The splats on the windscreen drawn once into a panorama-wide layer, cut into
// narrow strips, so a frame copies what they cover instead of every splat, and
// a new splat redraws one or two strips only (splats.cpp).
struct SplatLayer {
  std::vector<Surface> Strips;
  std::vector<SplatPos> Drawn;  // the splats the strips show, in drawing order
};
constexpr int kMessageSlots = 11;

struct GameState {
  // True when a guarded value of the game was edited from outside.
  bool Tampered() const {
    return Score.Tampered() || TimeLeft.Tampered() || StepInterval.Tampered() ||
           MgStepsPerShot.Tampered() || SplatOneIn.Tampered() || ViewX.Tampered() ||
           Cartridges.Tampered() || SavedCartridges.Tampered();
  }

  GuardedNumber Score;
  GuardedNumber TimeLeft;
  GuardedNumber StepInterval;
  GuardedNumber MgStepsPerShot;  // the machine gun fires on every Nth step
  GuardedNumber SplatOneIn;      // a gull reaching the viewer splats with chance 1 in N
  GuardedNumber ViewX;
  GuardedNumber Cartridges;
  GuardedNumber SavedCartridges;

  std::uint8_t Weapon = 0;  // 1 rifle, 2 machine gun
  std::uint8_t MgCounter = 0;
  std::int32_t SplatCount = 0;
  std::array<SplatPos, kMaxSplats + 1> Splats{};  // entry 0 is never drawn
  std::vector<Gull> Gulls;                        // 0..GullCount, entry 0 unused

  std::int16_t ShipX = 0;
  std::int16_t ShipDistance = 0;
  std::int16_t ShipSinking = 0;
  std::int16_t ShipHits = 0;

  std::array<MessageSlot, kMessageSlots> Messages{};
  std::int32_t MessageIndex = 0;

  Point CursorPos{};
  Point ShotPos{};

  Font GameFont{"Times New Roman", 20, false};

  // The game draws into a BackBuffer of its own (840x580, see
  // screen_geometry.h), so the screens around it keep theirs.
  Surface BackBuffer;
  Surface Crosshair;
  Surface PanoramaImage;
  Surface CartridgeImage;
  Surface SplatImage;
  Surface ShipImage;
  // The six gull pictures; GullImage(frame) maps the nine frames onto them.
  std::array<Surface, 6> GullPictures;

  SoundTable Sounds;
  SplatLayer SplatCache;
  GameRandom Random;  // one generator for the whole run
};

// GullImages 0..8: 0 falling, 1..8 the wing beat 7 8 9 8 7 10 11 10.
const Surface& GullImage(const GameState& game, int frame);

// Why a game ended.
enum class GameEnd { kNone, kTime, kEscape, kClose };

// The state of the game being played, made afresh for every game: its clock
// marks and counters, the buttons held, and the end.
struct PlayState {
  bool StepDue = false;
  std::int64_t LastStepTick = 0;
  std::int64_t StartTick = 0;
  std::int64_t FrameCount = 0;
  std::int64_t Fps = 0;
  std::int64_t LastSecondTick = 0;
  std::int32_t ScoreAtLastSecond = 0;
  bool ShotFired = false;
  bool LeftHeld = false;
  bool RightHeld = false;
  GameEnd End = GameEnd::kNone;
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
