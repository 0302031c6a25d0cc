#pragma once
// The high-score screen of one visit, opened from the main menu (with -200,
// which never enters the table) or after a game (with its score). Leaving
// waits until Enter, the left button and Escape are up, then saves and goes
// back to the menu; a close request saves at once and ends the program.

#include "app/screens/screen.h"
#include "highscores/high_score_visit.h"

namespace mw {

class HighScoreScreen final : public Screen {
 public:
  explicit HighScoreScreen(HighScoreVisit visit) : visit_(std::move(visit)) {}

  Next Step(ScreenTools& tools, const InputFrame& input) override;
  Next Resume(ScreenTools& tools, const InputFrame& input) override;
  std::optional<Shown> Draw(const RunState& run, ScreenMedia& media) const override;
  std::optional<InputContext> HandsMeaning() const override;

  const HighScoreVisit& Visit() const { return visit_; }

 private:
  Next Choose(ScreenTools& tools, const InputFrame& input);

  HighScoreVisit visit_;
};

// Reads the table and inserts the holder's score.
ScreenPtr OpenHighScoreScreen(ScreenTools& tools, const GuardedNumber& holder);

}  // namespace mw
