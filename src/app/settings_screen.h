#pragma once
// The settings screen: four settings cycled through their choices, and "Zurück ".

#include <cstdint>

#include "platform/platform.h"
#include "shared/display_state.h"
#include "shared/highlight.h"
#include "shared/pass_result.h"
#include "shared/screen_exit.h"
#include "shared/session.h"

namespace mw {

// Lines 1 to 4 are the settings of the same number, 5 is "Zurück ", 0 none.
constexpr std::uint8_t kBackLine = 5;

struct SettingsState {
  std::uint8_t selected = 0;
  Highlight pulse;
  bool down_held = false;
  bool up_held = false;
  bool confirm_held = false;
  Point mouse{};
  Rect visible_rect = kShellVisibleRect;
};

// Runs the screen until "Zurück ", Escape (after it is released) or a close
// request. Only SettingChoice changes.
ScreenExit ShowSettings(Platform& platform, Session& session, DisplayState& display);

// One pass of the settings loop with the pass's input.
PassResult SettingsPass(Platform& platform, Session& session, DisplayState& display,
                        SettingsState& settings, InputFrame input);

// The line whose mouse band holds screen row y, or 0 outside every band.
std::uint8_t SettingsLineAt(std::int32_t y);

// The next choice of a setting: the gull count has three, the others four.
void CycleSetting(Session& session, int setting);

}  // namespace mw
