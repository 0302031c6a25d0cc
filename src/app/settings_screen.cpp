#include "app/settings_screen.h"

#include <array>
#include <string>

#include "app/shell_input.h"
#include "shared/input_waits.h"
#include "text/cp1252.h"

namespace mw {
namespace {

// Caption of each setting, as the screen shows it before the chosen label.
constexpr std::array<const char*, 5> kCaptions{"", "Möven: ", "Spiel ", "MP-Speed ", "Zeit: "};

void DrawSettings(Platform& platform, const Session& session, DisplayState& display,
                  const SettingsState& settings) {
  Surface& back = display.back_buffer;
  back.BlitImage(kShellScreenOrigin.x, kShellScreenOrigin.y, display.settings_background, Rect{},
                 false);
  for (std::uint8_t line = 1; line <= kBackLine; ++line) {
    const std::string text =
        line == kBackLine
            ? Utf8ToCp1252("Zurück ")
            : Utf8ToCp1252(kCaptions[line]) + std::string(ChosenSetting(session, line).label);
    back.SetTextColor(LineColour(settings.pulse, settings.selected == line));
    back.DrawTextAt(20, 100 + 50 * line, text);
  }
  back.BlitImage(settings.mouse.x, settings.mouse.y, display.cursor_image, Rect{}, true);
  platform.Flip(back, settings.visible_rect);
}

}  // namespace

std::uint8_t SettingsLineAt(std::int32_t y) {
  for (std::uint8_t line = 1; line <= kBackLine; ++line) {
    const std::int32_t top = 80 + 50 * line;
    if (y >= top && y < top + 40) return line;
  }
  return 0;
}

void CycleSetting(Session& session, int setting) {
  auto& choice = session.setting_choice[static_cast<std::size_t>(setting)];
  const int choices = setting == kGullCount ? 3 : 4;
  choice = static_cast<std::int16_t>((choice + 1) % choices);
}

PassResult SettingsPass(Platform& platform, Session& session, DisplayState& display,
                        SettingsState& settings, InputFrame input) {
  StepHighlight(settings.pulse);

  if (WaitOutLostDisplay(platform, input)) {
    if (input.close_requested) return PassResult::kClose;
    platform.RestoreSurfaces();
    LoadMenuImages(platform, display);
  }

  settings.mouse = input.mouse;
  if (const std::uint8_t line = SettingsLineAt(settings.mouse.y); line != 0) {
    settings.selected = line;
  }

  if (NewPress(input, vk::kDown, settings.down_held)) {
    settings.selected = static_cast<std::uint8_t>((settings.selected % 5) + 1);
  }
  if (NewPress(input, vk::kUp, settings.up_held)) {
    settings.selected = static_cast<std::uint8_t>(((settings.selected + 3) % 5) + 1);
  }

  // Unlike the menu, a confirm acts at once and is not waited out: holding it
  // changes a setting once, and "Zurück " returns while it is still down.
  if (ConfirmDown(input)) {
    if (!settings.confirm_held) {
      if (settings.selected == kBackLine) return PassResult::kLeave;
      if (settings.selected != 0) CycleSetting(session, settings.selected);
    }
    settings.confirm_held = true;
  } else {
    settings.confirm_held = false;
  }

  if (input.close_requested) return PassResult::kClose;
  if (input.Down(vk::kEscape)) return PassResult::kLeave;

  DrawSettings(platform, session, display, settings);
  return PassResult::kStay;
}

ScreenExit ShowSettings(Platform& platform, Session& session, DisplayState& display) {
  SettingsState settings;
  platform.Events().Screen("settings");
  while (SettingsPass(platform, session, display, settings, platform.ReadInput()) ==
         PassResult::kStay) {
  }
  // Escape must be up again before the menu looks at it, or it would end the
  // program. A close request ends the wait at once.
  const InputFrame last = WaitForRelease(platform, {vk::kEscape});
  return last.close_requested ? ScreenExit::kCloseRequested : ScreenExit::kBack;
}

}  // namespace mw
