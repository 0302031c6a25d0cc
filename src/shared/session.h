#pragma once
// What lasts for one run of the program and every screen shares: the settings
// chosen on the settings screen, and whether a cheat was found (a damaged
// high-score file or a value edited in memory), which stops every save.

#include <array>
#include <cstdint>
#include <string_view>

namespace mw {

struct SettingEntry {
  std::string_view label;  // as the settings screen shows it (plain ASCII)
  std::int32_t value = 0;
};

// Settings are numbered 1 to 4 and choices 0 to 3, as on the settings screen.
enum Setting : int { kGullCount = 1, kGameSpeed = 2, kMachineGunSpeed = 3, kGameTime = 4 };

// kSettingTable[choice][setting]; index 0 of the setting axis is unused, and
// the gull count has no fourth choice.
inline constexpr std::array<std::array<SettingEntry, 5>, 4> kSettingTable{{
    {{{}, {"wenige", 5}, {"langsam", 200}, {"langsam", 20}, {"1:30", 90}}},
    {{{}, {"mittel", 25}, {"mittel", 100}, {"mittel", 10}, {"3:00", 180}}},
    {{{}, {"viele", 100}, {"schnell", 50}, {"schnell", 5}, {"6:00", 360}}},
    {{{}, {}, {"turbo", 1}, {"turbo", 1}, {"12:00", 720}}},
}};

struct Session {
  // The choice of each setting (1 to 4), 0 to 3.
  std::array<std::int16_t, 5> setting_choice{0, 1, 1, 2, 0};
  bool cheat_flag = false;  // never cleared during a run
};

// Every setting back to its default choice, as the program's start does.
void ChooseDefaultSettings(Session& session);

// The chosen entry of setting s; a choice outside 0..3 is a run-time error.
const SettingEntry& ChosenSetting(const Session& session, int setting);
inline std::int32_t SettingValue(const Session& session, int setting) {
  return ChosenSetting(session, setting).value;
}

}  // namespace mw
