#pragma once
// The player's keys, mouse and typing as the page's events bring them,
// gathered between two samples: presses are counted, so a tap between two
// frames is never lost, and typed characters keep their order.

#include <array>
#include <cstdint>
#include <string>

#include "input/input_frame.h"

namespace mw {

class BrowserInput {
 public:
  BrowserInput() = default;
  // Stops listening: the page's callbacks point at this object.
  ~BrowserInput();
  BrowserInput(const BrowserInput&) = delete;
  BrowserInput& operator=(const BrowserInput&) = delete;

  // Listens to the page's keys, mouse, focus and visibility from now on.
  void Listen();
  // Everything since the last sample; the clock and the close request are
  // the caller's.
  InputFrame Sample();
  // F12 presses since the last call: the picture on screen, asked for beside
  // the game.
  int TakePicturesAsked();

  // The page's events, one at a time (public for the event callbacks).
  void KeyDown(int virtual_key, bool repeat, bool enter_with_alt, int control_character,
               const std::string& typed_utf8);
  void KeyUp(int virtual_key, bool enter);
  void Button(int virtual_key, bool down);
  void PointerAt(double client_x, double client_y);
  void FocusLost();
  void PictureAsked();

 private:
  std::array<bool, vk::kCount> down_{};
  std::array<std::uint16_t, vk::kCount> presses_{};
  std::string typed_;  // Windows-1252
  Point mouse_{kPictureWidth / 2, kPictureHeight / 2};
  // Enter that went down as part of Alt+Enter stays out of the game until it
  // is let go: switching full screen is all it does.
  bool enter_switched_screen_ = false;
  int pictures_asked_ = 0;
  bool listening_ = false;
};

// The virtual key of a KeyboardEvent's code ("KeyA", "Digit1", "Enter"...),
// or -1.
int VirtualKeyOfKeyCode(const std::string& code);

// The character a key types that has no printable text (Backspace 8, Tab 9,
// Enter 13, Escape 27), or -1.
int ControlCharacterOfKeyCode(const std::string& code);

// The picture pixel under a point of the page, kept on the picture: a pointer
// beyond the picture's edge stands at that edge, so the view scrolls.
Point PicturePixelAt(double client_x, double client_y, double left, double top, double width,
                     double height);

}  // namespace mw
