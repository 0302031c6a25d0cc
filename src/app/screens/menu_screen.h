#pragma once
// The main menu as a screen: always at the bottom of the stack, so its state
// (the line chosen, the highlight) lives for the whole run. A confirm waits
// until Enter and the left button are up, then opens the line chosen.

#include "app/main_menu.h"
#include "app/screens/screen.h"

namespace mw {

class MenuScreen final : public Screen {
 public:
  Next Step(ScreenTools& tools, const InputFrame& input) override;
  Next Resume(ScreenTools& tools, const InputFrame& input) override;
  std::optional<Shown> Draw(const RunState& run, ScreenMedia& media) const override;
  std::optional<InputContext> HandsMeaning() const override;

  const MenuState& State() const { return menu_; }

 private:
  Next Choose(const InputFrame& input);
  Next AfterConfirm(ScreenTools& tools, bool close_requested, bool escape_down);
  Next OpenChosenLine(ScreenTools& tools);

  MenuState menu_;
};

}  // namespace mw
