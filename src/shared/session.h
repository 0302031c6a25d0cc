#pragma once
// What lasts for one run of the program and every screen shares: the settings
// chosen on the settings screen, and whether a cheat was found (a damaged
// high-score file or a value edited in memory), which stops every save.

#include <array>
#include <cstdint>
#include <string>

namespace mw {

struct SettingEntry {
  std::string Label;  // Windows-1252
  std::int32_t Value = 0;
};

// Settings are numbered 1 to 4 and choices 0 to 3, as on the settings screen.
enum Setting : int { kGullCount = 1, kGameSpeed = 2, kMpSpeed = 3, kGameTime = 4 };

struct Session {
  // SettingTable[choice][setting]; index 0 of the setting axis is unused.
  std::array<std::array<SettingEntry, 5>, 4> SettingTable{};
  // SettingChoice[setting], 0 to 3.
  std::array<std::int16_t, 5> SettingChoice{};
  bool CheatFlag = false;  // never cleared during a run
};

// Fills the settings with their labels, values and defaults.
void InitSettingsTables(Session& session);

// The chosen entry of setting s; a choice outside 0..3 is a run-time error.
const SettingEntry& ChosenSetting(const Session& session, int setting);
inline std::int32_t SettingValue(const Session& session, int setting) {
  return ChosenSetting(session, setting).Value;
}

}  // namespace mw
