#pragma once
// Touch in the page: the fingers on the picture go to the hands, the touch
// buttons beside it are pressed as the keys they stand for, and while a name
// is typed the page's text field (where a touch keyboard types) becomes the
// Backspaces and characters a keyboard would have typed.

#include <string>

#include "input/hands.h"
#include "input/input_context.h"
#include "input/input_frame.h"
#include "input/text_field_typing.h"

namespace mw {

class BrowserInput;

class BrowserTouch {
 public:
  // The screen on top: while a name is typed the field holds it.
  void SetContext(const InputContext& context);
  // Everything the page gathered since the last sample: fingers to the
  // hands, the touch buttons to the page's keys and mouse. True when the page
  // asked the program to close among them.
  bool Drain(Hands& hands, BrowserInput& keys);
  // Adds the field's typing to a frame.
  void AddTo(InputFrame& frame);

 private:
  TextFieldTyping field_;
  std::string typed_;  // Windows-1252, since the last frame
  // The name as the game will hold it once it has taken what was typed.
  std::string expected_name_;
  bool naming_ = false;
};

}  // namespace mw
