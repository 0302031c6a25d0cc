#include "app/screens/settings_screen.h"

#include "app/screens/lost_display_wait.h"
#include "app/screens/release_wait.h"

namespace mw {
namespace {

// Back to the menu once Escape is up, the settings taken off with the wait.
ScreenPtr LeaveWait() {
  return std::make_unique<ReleaseWait>(kEscapeKey, [](ScreenTools& tools, const InputFrame& input) {
    return BackToMenu(tools, input, 1);
  });
}

}  // namespace

Next SettingsScreen::Step(ScreenTools& tools, const InputFrame& input) {
  StepHighlight(settings_.pulse);
  if (input.display_lost) return WaitForDisplay(*this, tools, input);
  return Choose(tools, input);
}

Next SettingsScreen::Resume(ScreenTools& tools, const InputFrame& input) {
  if (input.close_requested) return Open(LeaveWait());
  tools.platform.RestoreSurfaces();
  ReloadShellImages(tools.platform, tools.media.shell);
  return Choose(tools, input);
}

Next SettingsScreen::Choose(ScreenTools& tools, const InputFrame& input) {
  if (ReadSettingsInput(settings_, tools.run.session, input) == SettingsPass::kStay) {
    return Stay(PassEnd::kPresent);
  }
  return Open(LeaveWait());
}

std::optional<Shown> SettingsScreen::Draw(const RunState& run, ScreenMedia& media) const {
  DrawSettings(settings_, run.session, media.shell);
  return Shown{&media.shell.back_buffer, kShellVisibleRect};
}

}  // namespace mw
