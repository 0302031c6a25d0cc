#pragma once
// A busy player for long headless runs: it sets the game up in the settings
// screen, then plays whole games in-process, aiming at the nearest flying gull
// it sees (reading the game state), firing both weapons, reloading, switching
// weapons, wiping, shooting ships and letting the nearest gulls splat. Every
// game ends on the high-score screen with a typed name, and the saved file is
// checked after each save.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace mw {

struct SoakOptions {
  int games = 5;
  // Choices on the settings screen: gull count 0..2, game speed, machine-gun
  // speed and game time 0..3 (12:00 is 3).
  int gull_count = 2;
  int game_speed = 3;
  int machine_gun_speed = 3;
  int game_time = 3;
  std::string score_folder;  // OEDIR for the run, ending in "/"
  // Bytes the bot takes at each game's start and keeps to the end of the run:
  // a planted leak, to prove that the memory check catches one.
  std::int64_t leak_per_game = 0;
};

struct SoakGame {
  std::int64_t frames = 0;
  std::int64_t gull_hits = 0;
  std::int64_t ship_hits = 0;
  std::int64_t wipes = 0;
  std::int64_t reloads = 0;
  std::int64_t weapon_switches = 0;
  std::int32_t score = 0;
  std::string name;                 // as typed, Windows-1252
  std::int64_t resident_start = 0;  // bytes
  std::int64_t resident_end = 0;
  std::int64_t heap_start = 0;  // bytes in use (HeapBytesInUse)
  std::int64_t heap_end = 0;
  LiveResources live_end;  // what the platform held at the game's end
};

struct SoakResult {
  std::vector<SoakGame> games;
  std::vector<std::string> problems;  // empty when every check held
  int exit_code = -1;
};

// Plays the games; report is called after each one.
SoakResult RunSoak(const SoakOptions& options,
                   const std::function<void(int, const SoakGame&)>& report = {});

}  // namespace mw
