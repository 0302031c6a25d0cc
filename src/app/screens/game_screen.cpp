#include "app/screens/game_screen.h"

#include "app/screens/high_score_screen.h"
#include "app/screens/lost_display_wait.h"
#include "game/draw_game.h"
#include "game/frame_rules.h"
#include "game/screen_geometry.h"

namespace mw {

Next GameScreen::Step(ScreenTools& tools, const InputFrame& input) {
  if (!set_up_) {
    // The set-up takes the clock of a sample of its own.
    SetUpGame(tools.run.game, play_, input.clock, tools.platform);
    set_up_ = true;
    tools.media.sounds = LoadGameSounds(tools.platform);
    tools.out.Log(ScreenEvent{"game"});
    return Stay(PassEnd::kGoOn);
  }
  // Escape and a close request are tested at the very end of a frame, after
  // it was shown: on the sample taken after it, before the next frame runs.
  if (play_.frame_count > 0) {
    if (input.close_requested) return End(tools, GameEnd::kClose);
    if (input.Down(vk::kEscape)) return End(tools, GameEnd::kEscape);
  }
  if (input.display_lost) return WaitForDisplay(*this, tools, input);
  return Frame(tools, input);
}

Next GameScreen::Resume(ScreenTools& tools, const InputFrame& input) {
  if (input.close_requested) return End(tools, GameEnd::kClose);
  tools.platform.RestoreSurfaces();
  ReloadGameImages(tools.platform, tools.media.game);
  return Frame(tools, input);
}

Next GameScreen::Frame(ScreenTools& tools, const InputFrame& input) {
  GameContext ctx{tools.run.game, play_, tools.out};
  if (!StepFrame(ctx, input)) return End(tools, GameEnd::kTime);
  return Stay(PassEnd::kPresent);
}

Next GameScreen::End(ScreenTools& tools, GameEnd reason) {
  tools.out.Log(GameEndEvent{EndReason(reason), tools.run.game.score.Value()});
  tools.media.game = GamePictures{};
  // A closed window ends the program without showing the table.
  if (reason == GameEnd::kClose) return EndProgram(1);
  // A score edited from outside during the game must not reach the file.
  if (tools.run.game.Tampered()) tools.run.session.cheat_flag = true;
  Next next = Open(OpenHighScoreScreen(tools, tools.run.game.score));
  next.pop = 1;
  return next;
}

std::optional<Shown> GameScreen::Draw(const RunState& run, ScreenMedia& media) const {
  DrawGame(run.game, play_, media.game);
  return Shown{&media.game.back_buffer, kGameVisibleRect};
}

std::optional<InputContext> GameScreen::HandsMeaning() const {
  return PlayingContext(kScrollLeftBelow, kScrollRightAbove);
}

}  // namespace mw
