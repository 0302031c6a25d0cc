#pragma once
// The settings screen, opened from the main menu. Leaving ("Zurück ",
// Escape, a close request) waits until Escape is up again, so the menu does
// not take it as its own.

#include "app/screens/screen.h"
#include "app/settings_menu.h"

namespace mw {

class SettingsScreen final : public Screen {
 public:
  Next Step(ScreenTools& tools, const InputFrame& input) override;
  Next Resume(ScreenTools& tools, const InputFrame& input) override;
  std::optional<Shown> Draw(const RunState& run, ScreenMedia& media) const override;
  std::optional<InputContext> HandsMeaning() const override {
    return MenuContext(kSettingsLineBands);
  }

 private:
  Next Choose(ScreenTools& tools, const InputFrame& input);

  SettingsVisit settings_;
};

}  // namespace mw
