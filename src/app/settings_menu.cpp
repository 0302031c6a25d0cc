#include "app/settings_menu.h"

#include <array>
#include <string>

#include "app/shell_input.h"
#include "text/cp1252.h"

namespace mw {
namespace {

// Caption of each setting, as the screen shows it before the chosen label.
constexpr std::array<const char*, 5> kCaptions{"", "Möven: ", "Spiel ", "MP-Speed ", "Zeit: "};

}  // namespace

std::uint8_t SettingsLineAt(std::int32_t y) {
  return static_cast<std::uint8_t>(kSettingsLineBands.LineAt(y));
}

void CycleSetting(Session& session, int setting) {
  auto& choice = session.setting_choice[static_cast<std::size_t>(setting)];
  const int choices = setting == kGullCount ? 3 : 4;
  choice = static_cast<std::int16_t>((choice + 1) % choices);
}

SettingsPass ReadSettingsInput(SettingsVisit& settings, Session& session, const InputFrame& input) {
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
      if (settings.selected == kBackLine) return SettingsPass::kLeave;
      if (settings.selected != 0) CycleSetting(session, settings.selected);
    }
    settings.confirm_held = true;
  } else {
    settings.confirm_held = false;
  }

  if (input.close_requested) return SettingsPass::kClose;
  if (input.Down(vk::kEscape)) return SettingsPass::kLeave;
  return SettingsPass::kStay;
}

void DrawSettings(const SettingsVisit& settings, const Session& session, ShellPictures& pictures) {
  Surface& back = pictures.back_buffer;
  back.BlitImage(kShellScreenOrigin.x, kShellScreenOrigin.y, pictures.settings_background, Rect{},
                 false);
  for (std::uint8_t line = 1; line <= kBackLine; ++line) {
    const std::string text =
        line == kBackLine
            ? Utf8ToCp1252("Zurück ")
            : Utf8ToCp1252(kCaptions[line]) + std::string(ChosenSetting(session, line).label);
    back.DrawText(kShellLineX, ShellLineTextY(kSettingsLineBands, line), text,
                  ShellTextStyle(LineColour(settings.pulse, settings.selected == line)));
  }
  back.BlitImage(settings.mouse.x, settings.mouse.y, pictures.cursor_image, Rect{}, true);
}

}  // namespace mw
