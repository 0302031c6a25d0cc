#pragma once
// A touch keyboard types into a text field of the page, not key by key: what
// it sends is the field's whole new text (an autocorrected word, an edit in
// the middle, a paste). Each change becomes what a keyboard would have typed
// to turn the name into the same text: Backspaces back to where the two
// first differ, then the new characters.

#include <cstddef>
#include <string>
#include <string_view>

namespace mw {

class TextFieldTyping {
 public:
  // The field now shows this text (UTF-8), which the name already holds.
  void Reset(std::string_view utf8, std::size_t limit);
  // The field's text changed: the typing (Windows-1252, Backspace as 8) that
  // makes the name equal to it, kept to the name's limit. Characters
  // Windows-1252 lacks are left out.
  std::string Changed(std::string_view utf8);
  // What the name now holds, as UTF-8: the field's text, unless that went
  // beyond the limit or held characters the game cannot show.
  std::string NameUtf8() const;

 private:
  std::string name_;  // Windows-1252
  std::size_t limit_ = 0;
};

}  // namespace mw
