#include "app/screens/menu_screen.h"

#include "app/screens/game_screen.h"
#include "app/screens/high_score_screen.h"
#include "app/screens/lost_display_wait.h"
#include "app/screens/release_wait.h"
#include "app/screens/settings_screen.h"
#include "game/frame_rules.h"

namespace mw {

Next MenuScreen::Step(ScreenTools& tools, const InputFrame& input) {
  StepHighlight(menu_.pulse);
  if (input.display_lost) return WaitForDisplay(*this, tools, input);
  return Choose(input);
}

Next MenuScreen::Resume(ScreenTools& tools, const InputFrame& input) {
  if (input.close_requested) return EndProgram();
  tools.platform.RestoreSurfaces();
  ReloadShellImages(tools.platform, tools.media.shell);
  return Choose(input);
}

Next MenuScreen::Choose(const InputFrame& input) {
  switch (ReadMenuInput(menu_, input)) {
    case MenuPass::kStay:
      return Stay(PassEnd::kPresent);
    case MenuPass::kConfirm: {
      // The pass's close request and Escape still count once the confirm is up.
      const bool close_requested = input.close_requested;
      const bool escape_down = input.Down(vk::kEscape);
      return Open(std::make_unique<ReleaseWait>(
          kConfirmKeys,
          [this, close_requested, escape_down](ScreenTools& tools, const InputFrame&) {
            return AfterConfirm(tools, close_requested, escape_down);
          }));
    }
    case MenuPass::kAct:
    case MenuPass::kLeave:
    case MenuPass::kClose:
      break;
  }
  return EndProgram();
}

Next MenuScreen::AfterConfirm(ScreenTools& tools, bool close_requested, bool escape_down) {
  switch (AfterConfirmReleased(menu_, close_requested, escape_down)) {
    case MenuPass::kAct:
      return OpenChosenLine(tools);
    case MenuPass::kStay:
    case MenuPass::kConfirm:
      return Stay(PassEnd::kPresent);
    case MenuPass::kLeave:
    case MenuPass::kClose:
      break;
  }
  return EndProgram();
}

Next MenuScreen::OpenChosenLine(ScreenTools& tools) {
  switch (menu_.selected) {
    case kStartGame:
      PrepareGame(tools.run.session, tools.run.game);
      LoadGamePictures(tools.platform, tools.media.game);
      return Open(std::make_unique<GameScreen>());
    case kSettings:
      tools.out.Log(ScreenEvent{"settings"});
      return Open(std::make_unique<SettingsScreen>());
    case kHighScores:
      return Open(OpenHighScoreScreen(tools, menu_.no_result));
    default:
      return EndProgram();
  }
}

std::optional<Shown> MenuScreen::Draw(const RunState&, ScreenMedia& media) const {
  DrawMenu(menu_, media.shell);
  return Shown{&media.shell.back_buffer, kShellVisibleRect};
}

std::optional<InputContext> MenuScreen::HandsMeaning() const {
  return MenuContext(kMenuLineBands);
}

}  // namespace mw
