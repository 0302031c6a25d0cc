#pragma once
// A message box shown in the game's window, over the picture that was on
// screen. Once it is confirmed, the pass that asked for it ends as it would
// have.

#include "app/message_box.h"
#include "app/screens/screen.h"

namespace mw {

class MessageBoxScreen final : public Screen {
 public:
  explicit MessageBoxScreen(MessageBox box) : box_(std::move(box)) {}

  Next Step(ScreenTools& tools, const InputFrame& input) override;
  std::optional<Shown> Draw(const RunState& run, ScreenMedia& media) const override;
  std::optional<InputContext> HandsMeaning() const override { return InputContext{}; }

  const MessageBox& Box() const { return box_; }
  // How the pass that asked for the box ends, once it is confirmed.
  void ThenEnd(PassEnd end) { then_ = end; }

 private:
  MessageBox box_;
  PassEnd then_ = PassEnd::kGoOn;
};

}  // namespace mw
