#pragma once
// A game as a screen: its first pass sets the game up at the clock of its own
// sample, then every pass is one frame. The game ends when its time runs out
// in a frame (not shown), or on Escape or a close request in the sample after
// a frame was shown; then the high-score screen takes its place (a close ends
// the program instead).

#include "app/screens/screen.h"
#include "game/game_state.h"

namespace mw {

class GameScreen final : public Screen {
 public:
  Next Step(ScreenTools& tools, const InputFrame& input) override;
  Next Resume(ScreenTools& tools, const InputFrame& input) override;
  std::optional<Shown> Draw(const RunState& run, ScreenMedia& media) const override;
  std::optional<InputContext> HandsMeaning() const override;

  const OneGameState& Play() const { return play_; }
  bool SetUp() const { return set_up_; }

 private:
  Next Frame(ScreenTools& tools, const InputFrame& input);
  Next End(ScreenTools& tools, GameEnd reason);

  OneGameState play_;
  bool set_up_ = false;
};

}  // namespace mw
