#pragma once
// The one loop of the program. Each pass samples one input frame, hands it to
// the current screen's step (rules only: the state changes, and the step asks
// for the next screen, sounds, log lines, saves and message boxes), draws the
// current screen from its state, and ends as the step asked: the picture
// presented (the platform's pacer decides when the next pass starts), a rest
// of about a millisecond, or the next pass at once. No screen runs a loop of
// its own, so a host that calls one pass per frame (a browser) runs the same
// program, and a test can step it pass by pass.

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/exit_status.h"
#include "app/program_state.h"
#include "app/screens.h"
#include "game/game_pictures.h"
#include "game/sounds.h"
#include "platform/platform.h"
#include "script/event_log.h"
#include "shared/outbox.h"
#include "shared/shell_pictures.h"

namespace mw {

// How a run ended.
struct RunEnd {
  int status = kExitOk;
  bool stopped_watching = false;  // a replay in a window ended early by the viewer
  std::string replay_problem;     // the recording does not fit (status kExitUsage)
};

class ProgramLoop {
 public:
  // Run-time errors are told on err too.
  ProgramLoop(Platform& platform, EventLog& events, std::ostream& err);

  // Reads OEDIR, opens the display and shows the menu's first state. A
  // failure here is a run-time error like any other.
  void Start();
  // One pass; false once the program has ended.
  bool Pass();
  const RunEnd& End() const { return end_; }
  // How the last pass ended.
  PassEnd LastPassEnd() const { return last_end_; }

  // For tests and bots: what the program holds, and the screen on top
  // (nullptr while the menu is current).
  ProgramState& State() { return state_; }
  const Screen* Current() const { return screens_.empty() ? nullptr : &screens_.back(); }
  const PlayState* Play() const;

 private:
  bool PassOrThrow();
  void Fail(const std::string& utf8_text);
  void Finish(int status);

  // The current screen's step; the *Resume functions go on with a pass once
  // the display is back.
  PassEnd Step(const InputFrame& input);
  PassEnd StepMenu(const InputFrame& input);
  PassEnd ContinueMenu(const InputFrame& input);
  PassEnd StepSettings(SettingsScreen& screen, const InputFrame& input);
  PassEnd ContinueSettings(SettingsScreen& screen, const InputFrame& input);
  PassEnd StepGame(GameScreen& screen, const InputFrame& input);
  PassEnd RunFrame(GameScreen& screen, const InputFrame& input);
  PassEnd StepHighScores(HighScoreScreen& screen, const InputFrame& input);
  PassEnd ContinueHighScores(HighScoreScreen& screen, const InputFrame& input);
  PassEnd StepReleaseWait(const ReleaseWait& wait, const InputFrame& input);
  PassEnd StepLostDisplayWait(const InputFrame& input);
  PassEnd StepMessageBox(MessageBoxScreen& screen, const InputFrame& input);
  PassEnd WaitForDisplay(const InputFrame& input);
  PassEnd ResumeAfterDisplayLoss(const InputFrame& input);

  // Transitions.
  PassEnd OpenSelectedLine();
  void OpenHighScores(const GuardedNumber& holder);
  PassEnd EndGame(GameEnd reason);
  PassEnd BackToMenu();
  void EndProgram();

  // What the step asked for, and the end of the pass.
  PassEnd ApplyOutbox(PassEnd end);
  void Present();
  void SyncModes();
  void ShutdownDisplay();

  Platform& platform_;
  EventLog& events_;
  std::ostream& err_;
  ProgramState state_;
  std::vector<Screen> screens_;
  Outbox outbox_;
  ShellPictures shell_pictures_;
  GamePictures game_pictures_;
  GameSounds sounds_{};
  Surface box_canvas_;
  bool in_game_mode_ = false;
  bool box_mode_ = false;
  bool ending_ = false;  // the program ends once no message box is left
  bool failing_ = false;
  bool finished_ = false;
  PassEnd last_end_ = PassEnd::kGoOn;
  RunEnd end_;
};

}  // namespace mw
