#pragma once
// Waits until keys are let go, so the screen that comes next does not take
// the same press; then goes on as it was told. A close request ends the wait
// at once. It samples without drawing and rests between samples.

#include <initializer_list>

#include "app/screens/screen.h"

namespace mw {

// The menu's confirm, and the settings' leave key.
inline constexpr std::initializer_list<int> kConfirmKeys = {vk::kLeftButton, vk::kReturn};
inline constexpr std::initializer_list<int> kEscapeKey = {vk::kEscape};

class ReleaseWait final : public Screen {
 public:
  // `keys` must outlive the wait (one of the constants above, say).
  ReleaseWait(std::initializer_list<int> keys, Continuation then)
      : keys_(keys), then_(std::move(then)) {}

  Next Step(ScreenTools& tools, const InputFrame& input) override;
  std::optional<Shown> Draw(const RunState&, ScreenMedia&) const override { return {}; }
  std::optional<InputContext> HandsMeaning() const override { return {}; }

 private:
  std::initializer_list<int> keys_;
  Continuation then_;
};

}  // namespace mw
