#pragma once
// Waits while the display is lost, for the screen below it, which then goes
// on (Screen::Resume) with the sample that ended the wait. A close request
// ends the wait at once. It samples without drawing and rests between samples.

#include "app/screens/screen.h"

namespace mw {

class LostDisplayWait final : public Screen {
 public:
  explicit LostDisplayWait(Screen& waiting) : waiting_(waiting) {}

  Next Step(ScreenTools& tools, const InputFrame& input) override;
  std::optional<Shown> Draw(const RunState&, ScreenMedia&) const override { return {}; }
  std::optional<InputContext> HandsMeaning() const override { return {}; }

 private:
  Screen& waiting_;  // stands below the wait
};

// A screen's pass that found the display lost: waits for it, or goes on at
// once when a close request came with the loss.
Next WaitForDisplay(Screen& screen, ScreenTools& tools, const InputFrame& input);

}  // namespace mw
