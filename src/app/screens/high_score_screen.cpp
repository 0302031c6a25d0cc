#include "app/screens/high_score_screen.h"

#include "app/screens/lost_display_wait.h"
#include "app/screens/release_wait.h"
#include "highscores/high_score_ranking.h"

namespace mw {

ScreenPtr OpenHighScoreScreen(ScreenTools& tools, const GuardedNumber& holder) {
  HighScoreVisit visit = OpenHighScoreVisit(tools.platform, tools.run.session, holder,
                                            tools.run.high_score_prefix, tools.out);
  tools.out.Log(ScreenEvent{"highscores"});
  return std::make_unique<HighScoreScreen>(std::move(visit));
}

Next HighScoreScreen::Step(ScreenTools& tools, const InputFrame& input) {
  StepHighlight(visit_.pulse);
  if (input.display_lost) return WaitForDisplay(*this, tools, input);
  return Choose(tools, input);
}

Next HighScoreScreen::Resume(ScreenTools& tools, const InputFrame& input) {
  tools.platform.RestoreSurfaces();
  ReloadShellImages(tools.platform, tools.media.shell);
  return Choose(tools, input);
}

Next HighScoreScreen::Choose(ScreenTools& tools, const InputFrame& input) {
  switch (ReadHighScoreInput(visit_, input)) {
    case HighScorePass::kStay:
      return Stay(PassEnd::kPresent);
    case HighScorePass::kLeave:
      return Open(std::make_unique<ReleaseWait>(
          kHighScoreLeaveKeys, [this](ScreenTools& wait_tools, const InputFrame& last) {
            FinishHighScoreVisit(wait_tools.platform, wait_tools.run.session, visit_,
                                 wait_tools.out);
            return BackToMenu(wait_tools, last, 1);
          }));
    case HighScorePass::kClose:
      break;
  }
  // A closed window does not wait for keys; the table is saved all the same.
  FinishHighScoreVisit(tools.platform, tools.run.session, visit_, tools.out);
  return EndProgram(1);
}

std::optional<Shown> HighScoreScreen::Draw(const RunState& run, ScreenMedia& media) const {
  DrawHighScores(run.session, visit_, media.shell);
  return Shown{&media.shell.back_buffer, kShellVisibleRect};
}

std::optional<InputContext> HighScoreScreen::HandsMeaning() const {
  if (visit_.entry_row == kNoEntryRow) return InputContext{};
  std::string name = visit_.table[static_cast<std::size_t>(visit_.entry_row)].entry_name.Text();
  if (!name.empty() && name.back() == kEditMark) name.pop_back();
  return NameEntryContext(std::move(name), kMaxTypedName);
}

}  // namespace mw
