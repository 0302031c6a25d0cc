#include "app/main_menu.h"

#include <array>

#include "app/shell_input.h"

namespace mw {
namespace {

constexpr std::array<const char*, kEnd> kMenuLines{"Spiel starten", "Einstellungen", "Highscores",
                                                   "Ende"};

MenuPass EndOfPass(bool close_requested, bool escape_down) {
  if (close_requested) return MenuPass::kClose;
  if (escape_down) return MenuPass::kLeave;
  return MenuPass::kStay;
}

}  // namespace

std::uint8_t MenuEntryAt(std::int32_t y) {
  return static_cast<std::uint8_t>(kMenuLineBands.LineAt(y));
}

MenuPass ReadMenuInput(MenuState& menu, const InputFrame& input) {
  menu.mouse = input.mouse;
  // The mouse at rest in a band pulls the selection back every pass.
  if (const std::uint8_t entry = MenuEntryAt(menu.mouse.y); entry != 0) menu.selected = entry;

  if (NewPress(input, vk::kDown, menu.down_held)) {
    menu.selected = static_cast<std::uint8_t>((menu.selected & 3) + 1);
  }
  if (NewPress(input, vk::kUp, menu.up_held)) {
    menu.selected = static_cast<std::uint8_t>(((menu.selected + 2) & 3) + 1);
  }
  // Confirming waits until the confirm is let go, so the screen it opens does
  // not see the same press.
  if (ConfirmDown(input)) return MenuPass::kConfirm;
  menu.confirm_latched = false;
  return EndOfPass(input.close_requested, input.Down(vk::kEscape));
}

MenuPass AfterConfirmReleased(MenuState& menu, bool close_requested, bool escape_down) {
  if (menu.confirm_latched) return EndOfPass(close_requested, escape_down);
  menu.confirm_latched = true;
  return MenuPass::kAct;
}

void DrawMenu(const MenuState& menu, ShellPictures& pictures) {
  Surface& back = pictures.back_buffer;
  back.BlitImage(kShellScreenOrigin.x, kShellScreenOrigin.y, pictures.menu_background, Rect{},
                 false);
  for (std::uint8_t line = kStartGame; line <= kEnd; ++line) {
    back.DrawText(kShellLineX, ShellLineTextY(kMenuLineBands, line), kMenuLines[line - 1],
                  ShellTextStyle(LineColour(menu.pulse, menu.selected == line)));
  }
  back.BlitImage(menu.mouse.x, menu.mouse.y, pictures.cursor_image, Rect{}, true);
}

}  // namespace mw
