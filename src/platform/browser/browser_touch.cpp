#include "platform/browser/browser_touch.h"

#include <optional>

#include "platform/browser/browser_input.h"
#include "platform/browser/browser_page.h"
#include "text/cp1252.h"

namespace mw {
namespace {

// A pass never takes more than this from the page, so a flood cannot stall it.
constexpr int kMostEventsAPass = 4096;

// A touch button is the key it names, pressed as the keyboard's would be
// (Enter and Escape type their characters); "MouseRight" is the right button.
void PressTouchButton(BrowserInput& keys, const std::string& code, bool down) {
  if (code == "MouseRight") {
    keys.Button(vk::kRightButton, down);
  } else if (down) {
    keys.KeyDown(VirtualKeyOfKeyCode(code), false, false, ControlCharacterOfKeyCode(code), "");
  } else {
    keys.KeyUp(VirtualKeyOfKeyCode(code), code == "Enter");
  }
}

}  // namespace

void BrowserTouch::SetContext(const InputContext& context) {
  const bool naming = context.screen == InputContext::Screen::kNameEntry;
  if (!naming) {
    if (naming_) EndNameField();
    naming_ = false;
    return;
  }
  // The game changed the name another way (keys, a pad), or the entry just
  // began: the field starts again from the name as it is.
  if (!naming_ || context.name != expected_name_) {
    field_.Reset(Cp1252ToUtf8(context.name), context.name_limit);
    expected_name_ = context.name;
    ShowNameInField(field_.NameUtf8(), context.name_limit);
  }
  naming_ = true;
}

bool BrowserTouch::Drain(Hands& hands, BrowserInput& keys) {
  bool close_requested = false;
  std::optional<CanvasPlace> place;
  const auto at = [&place](const PageEvent& event) {
    if (!place) place = PlaceOfCanvas();
    return PicturePixelAt(event.x, event.y, place->left, place->top, place->width, place->height);
  };
  for (int i = 0; i < kMostEventsAPass; ++i) {
    const std::optional<PageEvent> event = NextPageEvent();
    if (!event) break;
    switch (event->kind) {
      case PageEvent::Kind::kFingerDown:
        hands.FingerDown(event->finger, at(*event));
        break;
      case PageEvent::Kind::kFingerMoved:
        hands.FingerMoved(event->finger, at(*event));
        break;
      case PageEvent::Kind::kFingerUp:
        hands.FingerUp(event->finger);
        break;
      case PageEvent::Kind::kFingersCancelled:
        hands.FingersCancelled();
        break;
      case PageEvent::Kind::kKeyDown:
      case PageEvent::Kind::kKeyUp:
        PressTouchButton(keys, event->text, event->kind == PageEvent::Kind::kKeyDown);
        break;
      case PageEvent::Kind::kFieldText:
        // Text that comes after the entry ended belongs to no name.
        if (!naming_) break;
        typed_ += field_.Changed(event->text);
        expected_name_ = Utf8ToCp1252(field_.NameUtf8());
        break;
      case PageEvent::Kind::kCloseRequested:
        close_requested = true;
        break;
    }
  }
  return close_requested;
}

void BrowserTouch::AddTo(InputFrame& frame) {
  frame.typed += typed_;
  typed_.clear();
}

}  // namespace mw
