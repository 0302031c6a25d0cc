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
#include "app/run_state.h"
#include "app/screens/screen.h"
#include "platform/platform.h"
#include "script/event_log.h"
#include "shared/outbox.h"

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

  // For tests and bots: what the run holds, the screen on top (nullptr once
  // the program has ended) and the game being played (nullptr outside one).
  RunState& State() { return state_; }
  const Screen* Top() const { return screens_.empty() ? nullptr : screens_.back().get(); }
  const OneGameState* Play() const;

 private:
  bool PassOrThrow();
  void Fail(const std::string& utf8_text);
  void Finish(int status);

  // Changes the stack as a step said; how the pass ends.
  PassEnd Apply(Next next);
  // Carries out what the step asked for; how the pass ends once it has.
  PassEnd ApplyOutbox(PassEnd end);
  // Carries out what the player asked beside the game (F12, Alt+Enter, a
  // script's pictures).
  void CarryOut(const SampleRequests& requests);
  void Present();
  void SyncModes();
  void ShutdownDisplay();

  Platform& platform_;
  EventLog& events_;
  std::ostream& err_;
  RunState state_;
  std::vector<ScreenPtr> screens_;
  Outbox outbox_;
  ScreenMedia media_;
  ScreenTools tools_{platform_, state_, media_, outbox_};
  bool in_game_mode_ = false;
  bool box_mode_ = false;
  bool ending_ = false;  // the program ends once no message box is left
  bool failing_ = false;
  bool finished_ = false;
  PassEnd last_end_ = PassEnd::kGoOn;
  RunEnd end_;
};

}  // namespace mw
