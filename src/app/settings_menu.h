#pragma once
// The rules and the drawing of the settings screen: four settings cycled
// through their choices, and "Zurück ".

#include <cstdint>

#include "drawing/drawing_types.h"
#include "input/input_context.h"
#include "input/input_frame.h"
#include "shared/highlight.h"
#include "shared/session.h"
#include "shared/shell_pictures.h"

namespace mw {

// Lines 1 to 4 are the settings of the same number, 5 is "Zurück ", 0 none.
constexpr std::uint8_t kBackLine = 5;

struct SettingsVisit {
  std::uint8_t selected = 0;
  Highlight pulse;
  bool down_held = false;
  bool up_held = false;
  bool confirm_held = false;
  Point mouse{};
};

// What a pass of the settings screen decided. Leaving waits until Escape is
// up again, so the menu does not take it as its own.
enum class SettingsPass { kStay, kLeave, kClose };

// What the settings screen makes of a sample (its highlight pulses apart
// from this). Only the chosen settings change.
SettingsPass ReadSettingsInput(SettingsVisit& settings, Session& session, const InputFrame& input);

// Where the resting mouse chooses each line.
inline constexpr LineBands kSettingsLineBands{130, 50, 40, kBackLine};

// The line whose mouse band holds screen row y, or 0 outside every band.
std::uint8_t SettingsLineAt(std::int32_t y);

// The next choice of a setting: the gull count has three, the others four.
void CycleSetting(Session& session, int setting);

void DrawSettings(const SettingsVisit& settings, const Session& session, ShellPictures& pictures);

}  // namespace mw
