#include "platform/browser/browser_input.h"

#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "platform/browser/browser_page.h"
#include "text/cp1252.h"

namespace mw {
namespace {

bool IsEnter(const std::string& code) {
  return code == "Enter" || code == "NumpadEnter";
}

// One code point of UTF-8 text: what a printable key types.
bool OneCharacter(const char* utf8) {
  const auto first = static_cast<unsigned char>(utf8[0]);
  if (first == 0) return false;
  std::size_t length = 1;
  if (first >= 0xF0) {
    length = 4;
  } else if (first >= 0xE0) {
    length = 3;
  } else if (first >= 0xC0) {
    length = 2;
  }
  return std::strlen(utf8) == length && first >= 0x20;
}

EM_BOOL OnKeyDown(int, const EmscriptenKeyboardEvent* event, void* data) {
  auto& input = *static_cast<BrowserInput*>(data);
  const std::string code = event->code;
  // F12 is no game input: the loop keeps the picture after the step. The
  // browser's own use of it (its developer tools) gives way in the game.
  if (code == "F12") {
    if (event->repeat == 0) input.PictureAsked();
    return EM_TRUE;
  }
  const int key = VirtualKeyOfKeyCode(code);
  const bool shortcut = event->ctrlKey != 0 || event->metaKey != 0;
  const bool printable = !shortcut && event->altKey == 0 && OneCharacter(event->key);
  input.KeyDown(key, event->repeat != 0, IsEnter(code) && event->altKey != 0,
                ControlCharacterOfKeyCode(code), printable ? std::string(event->key) : "");
  // The browser keeps its own shortcuts; keys of the game scroll no page.
  return !shortcut && (key >= 0 || printable) ? EM_TRUE : EM_FALSE;
}

EM_BOOL OnKeyUp(int, const EmscriptenKeyboardEvent* event, void* data) {
  const std::string code = event->code;
  static_cast<BrowserInput*>(data)->KeyUp(VirtualKeyOfKeyCode(code), IsEnter(code));
  return EM_FALSE;
}

int ButtonKey(unsigned short button) {
  if (button == 0) return vk::kLeftButton;
  if (button == 2) return vk::kRightButton;
  return -1;
}

EM_BOOL OnMouseDown(int, const EmscriptenMouseEvent* event, void* data) {
  auto& input = *static_cast<BrowserInput*>(data);
  input.PointerAt(event->clientX, event->clientY);
  input.Button(ButtonKey(event->button), true);
  return EM_FALSE;
}

EM_BOOL OnMouseUp(int, const EmscriptenMouseEvent* event, void* data) {
  auto& input = *static_cast<BrowserInput*>(data);
  input.PointerAt(event->clientX, event->clientY);
  input.Button(ButtonKey(event->button), false);
  return EM_FALSE;
}

EM_BOOL OnMouseMove(int, const EmscriptenMouseEvent* event, void* data) {
  static_cast<BrowserInput*>(data)->PointerAt(event->clientX, event->clientY);
  return EM_FALSE;
}

EM_BOOL OnBlur(int, const EmscriptenFocusEvent*, void* data) {
  static_cast<BrowserInput*>(data)->FocusLost();
  return EM_FALSE;
}

}  // namespace

int VirtualKeyOfKeyCode(const std::string& code) {
  if (IsEnter(code)) return vk::kReturn;
  if (code == "Backspace") return vk::kBackspace;
  if (code == "Tab") return vk::kTab;
  if (code == "Escape") return vk::kEscape;
  if (code == "Space") return vk::kSpace;
  if (code == "ArrowLeft") return vk::kLeft;
  if (code == "ArrowUp") return vk::kUp;
  if (code == "ArrowRight") return vk::kRight;
  if (code == "ArrowDown") return vk::kDown;
  if (code.size() == 6 && code.starts_with("Digit") && code[5] >= '0' && code[5] <= '9') {
    return code[5];
  }
  if (code.size() == 4 && code.starts_with("Key") && code[3] >= 'A' && code[3] <= 'Z') {
    return code[3];
  }
  return -1;
}

int ControlCharacterOfKeyCode(const std::string& code) {
  if (code == "Backspace") return 8;
  if (code == "Tab") return 9;
  if (IsEnter(code)) return 13;
  if (code == "Escape") return 27;
  return -1;
}

Point PicturePixelAt(double client_x, double client_y, double left, double top, double width,
                     double height) {
  if (!(width > 0 && height > 0)) return {kPictureWidth / 2, kPictureHeight / 2};
  const auto pixel = [](double at, double size, int pixels) {
    double scaled = std::floor(at / size * pixels);
    // A place the page could not say (NaN) stands at the picture's first pixel.
    if (std::isnan(scaled)) scaled = 0;
    return static_cast<std::int32_t>(std::clamp(scaled, 0.0, pixels - 1.0));
  };
  return {pixel(client_x - left, width, kPictureWidth),
          pixel(client_y - top, height, kPictureHeight)};
}

void BrowserInput::Listen() {
  if (listening_) return;
  listening_ = true;
  const char* page = EMSCRIPTEN_EVENT_TARGET_DOCUMENT;
  emscripten_set_keydown_callback(page, this, true, OnKeyDown);
  emscripten_set_keyup_callback(page, this, true, OnKeyUp);
  emscripten_set_mousedown_callback(page, this, true, OnMouseDown);
  emscripten_set_mouseup_callback(page, this, true, OnMouseUp);
  emscripten_set_mousemove_callback(page, this, true, OnMouseMove);
  emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, true, OnBlur);
}

// The callbacks hold this object: a page that starts the program again (a
// replay after a visit) must never call into one that has gone.
BrowserInput::~BrowserInput() {
  if (!listening_) return;
  const char* page = EMSCRIPTEN_EVENT_TARGET_DOCUMENT;
  emscripten_set_keydown_callback(page, nullptr, true, nullptr);
  emscripten_set_keyup_callback(page, nullptr, true, nullptr);
  emscripten_set_mousedown_callback(page, nullptr, true, nullptr);
  emscripten_set_mouseup_callback(page, nullptr, true, nullptr);
  emscripten_set_mousemove_callback(page, nullptr, true, nullptr);
  emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, true, nullptr);
}

void BrowserInput::KeyDown(int virtual_key, bool repeat, bool enter_with_alt, int control_character,
                           const std::string& typed_utf8) {
  if (enter_with_alt) {
    if (!repeat) ToggleFullScreen();
    enter_switched_screen_ = true;
    return;
  }
  if (virtual_key >= 0 && !(virtual_key == vk::kReturn && enter_switched_screen_)) {
    const auto k = static_cast<std::size_t>(virtual_key);
    down_[k] = true;
    if (!repeat && presses_[k] < UINT16_MAX) ++presses_[k];
  }
  if (control_character >= 0) typed_ += static_cast<char>(control_character);
  if (!typed_utf8.empty()) typed_ += Utf8ToCp1252(typed_utf8);
}

void BrowserInput::KeyUp(int virtual_key, bool enter) {
  if (enter) enter_switched_screen_ = false;
  if (virtual_key >= 0) down_[static_cast<std::size_t>(virtual_key)] = false;
}

void BrowserInput::Button(int virtual_key, bool down) {
  if (virtual_key < 0) return;
  const auto k = static_cast<std::size_t>(virtual_key);
  if (down && !down_[k] && presses_[k] < UINT16_MAX) ++presses_[k];
  down_[k] = down;
}

void BrowserInput::PointerAt(double client_x, double client_y) {
  const CanvasPlace place = PlaceOfCanvas();
  mouse_ = PicturePixelAt(client_x, client_y, place.left, place.top, place.width, place.height);
}

// Keys let go while the page had no focus never tell it.
void BrowserInput::FocusLost() {
  down_.fill(false);
}

void BrowserInput::PictureAsked() {
  if (pictures_asked_ < UINT16_MAX) ++pictures_asked_;
}

int BrowserInput::TakePicturesAsked() {
  return std::exchange(pictures_asked_, 0);
}

InputFrame BrowserInput::Sample() {
  InputFrame frame;
  for (std::size_t k = 0; k < frame.keys.size(); ++k) frame.keys[k] = {down_[k], presses_[k]};
  presses_.fill(0);
  frame.mouse = mouse_;
  frame.typed = std::move(typed_);
  typed_.clear();
  return frame;
}

}  // namespace mw
