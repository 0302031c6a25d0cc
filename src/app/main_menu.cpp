#include "app/main_menu.h"

#include <array>

#include "app/settings_screen.h"
#include "app/shell_input.h"
#include "game/phases.h"
#include "highscores/high_score_screen.h"
#include "shared/input_waits.h"

namespace mw {
namespace {

struct MenuLine {
  std::int32_t y;
  const char* text;
};
constexpr std::array<MenuLine, 4> kMenuLines{
    {{250, "Spiel starten"}, {300, "Einstellungen"}, {350, "Highscores"}, {400, "Ende"}}};

// Runs the chosen sub-screen; kLeave when the program is to end.
PassResult ActOn(Platform& platform, ProgramState& state, MenuState& menu) {
  ScreenExit exit = ScreenExit::kBack;
  switch (menu.selected) {
    case kStartGame:
      // A closed window ends the program without showing the table.
      if (StartGame(platform, state.session, state.game) == GameEnd::kClose) {
        return PassResult::kClose;
      }
      // A score edited from outside during the game must not reach the file.
      if (state.game.Tampered()) state.session.cheat_flag = true;
      exit = ShowHighScores(platform, state.session, state.display, state.game.score,
                            state.high_score_prefix);
      break;
    case kSettings:
      exit = ShowSettings(platform, state.session, state.display);
      break;
    case kHighScores:
      exit = ShowHighScores(platform, state.session, state.display, menu.no_result,
                            state.high_score_prefix);
      break;
    default:
      return PassResult::kLeave;
  }
  if (exit == ScreenExit::kCloseRequested) return PassResult::kClose;
  platform.Events().Screen("menu");
  return PassResult::kStay;
}

void DrawMenu(Platform& platform, DisplayState& display, const MenuState& menu) {
  Surface& back = display.back_buffer;
  back.BlitImage(kShellScreenOrigin.x, kShellScreenOrigin.y, display.menu_background, Rect{},
                 false);
  for (std::size_t i = 0; i < kMenuLines.size(); ++i) {
    back.SetTextColor(LineColour(menu.pulse, menu.selected == i + 1));
    back.DrawTextAt(20, kMenuLines[i].y, kMenuLines[i].text);
  }
  back.BlitImage(menu.mouse.x, menu.mouse.y, display.cursor_image, Rect{}, true);
  platform.Flip(back, menu.visible_rect);
}

}  // namespace

std::uint8_t MenuEntryAt(std::int32_t y) {
  for (std::uint8_t entry = 1; entry <= 4; ++entry) {
    const std::int32_t top = 180 + 50 * entry;
    if (y >= top && y < top + 40) return entry;
  }
  return 0;
}

void OpenDisplay(Platform& platform, DisplayState& display) {
  platform.OpenDisplay();
  MakeMenuBackBuffer(platform, display);
}

void ShutdownDisplay(Platform& platform, DisplayState& display) {
  platform.CloseDisplay();
  display.back_buffer = Surface();
  display.high_score_background = Surface();
  display.menu_background = Surface();
  display.settings_background = Surface();
  display.cursor_image = Surface();
}

PassResult MenuPass(Platform& platform, ProgramState& state, MenuState& menu, InputFrame input) {
  StepHighlight(menu.pulse);

  if (WaitOutLostDisplay(platform, input)) {
    if (input.close_requested) return PassResult::kClose;
    LoadMenuImages(platform, state.display);
    platform.RestoreSurfaces();
  }

  menu.mouse = input.mouse;
  // The mouse at rest in a band pulls the selection back every pass.
  if (const std::uint8_t entry = MenuEntryAt(menu.mouse.y); entry != 0) menu.selected = entry;

  if (NewPress(input, vk::kDown, menu.down_held)) {
    menu.selected = static_cast<std::uint8_t>((menu.selected & 3) + 1);
  }
  if (NewPress(input, vk::kUp, menu.up_held)) {
    menu.selected = static_cast<std::uint8_t>(((menu.selected + 2) & 3) + 1);
  }

  bool acted = false;
  if (ConfirmDown(input)) {
    // Confirming waits until the confirm is let go, so the screen it opens
    // does not see the same press.
    WaitForRelease(platform, {vk::kLeftButton, vk::kReturn});
    if (!menu.confirm_latched) {
      menu.confirm_latched = true;
      if (const PassResult after = ActOn(platform, state, menu); after != PassResult::kStay) {
        return after;
      }
      acted = true;  // this pass's input is older than the screen just left
    }
  } else {
    menu.confirm_latched = false;
  }

  if (!acted) {
    if (input.close_requested) return PassResult::kClose;
    if (input.Down(vk::kEscape)) return PassResult::kLeave;
  }

  DrawMenu(platform, state.display, menu);
  return PassResult::kStay;
}

void RunMainMenu(Platform& platform, ProgramState& state) {
  ChooseDefaultSettings(state.session);
  MenuState menu;
  OpenDisplay(platform, state.display);
  platform.Events().Screen("menu");
  while (MenuPass(platform, state, menu, platform.ReadInput()) == PassResult::kStay) {
  }
  ShutdownDisplay(platform, state.display);
}

}  // namespace mw
