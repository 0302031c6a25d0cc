#include "app/screens/message_box_screen.h"

namespace mw {

Next MessageBoxScreen::Step(ScreenTools&, const InputFrame& input) {
  if (!StepMessageBox(box_, input)) return Stay(PassEnd::kPresent);
  return Next{then_, 1, nullptr, false};
}

std::optional<Shown> MessageBoxScreen::Draw(const RunState&, ScreenMedia& media) const {
  DrawMessageBox(box_, media.box_canvas);
  return Shown{&media.box_canvas, Rect{0, 0, kPictureWidth, kPictureHeight}};
}

}  // namespace mw
