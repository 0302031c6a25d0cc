#pragma once
// A message box in the game's window, drawn with the game's fonts over the
// dimmed picture that was on screen: a title, the text wrapped, and an OK
// button. Enter, Escape, Space or a click on OK confirms it; so does a close
// request (the window's close button, SIGINT, SIGTERM), which stays set, so
// the program goes on to end as it would after OK.

#include <string>
#include <string_view>

#include "input/input_frame.h"
#include "layout/message_box_layout.h"
#include "platform/platform.h"
#include "platform/surface.h"

namespace mw {

struct MessageBox {
  std::string title;  // Windows-1252
  MessageBoxLayout layout;
  Surface behind;  // the picture that was on screen, dimmed
  bool hover = false;
  bool pressed_on_button = false;
};

// Lays the box out and takes the picture behind it.
MessageBox MakeMessageBox(Platform& platform, std::string_view title, std::string_view text);

// One pass with the box's input; true once it is confirmed.
bool StepMessageBox(MessageBox& box, const InputFrame& input);

// The box over the dimmed picture, into a 640x480 canvas.
void DrawMessageBox(const MessageBox& box, Surface& canvas);

}  // namespace mw
