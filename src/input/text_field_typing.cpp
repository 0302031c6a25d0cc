#include "input/text_field_typing.h"

#include "text/cp1252.h"

namespace mw {
namespace {

// The name as the game can hold it: control characters (a pasted line break,
// or a Backspace that would delete) are not characters of a name.
std::string Printable(std::string_view utf8, std::size_t limit) {
  std::string name = Utf8ToCp1252(utf8);
  std::erase_if(name, [](char c) { return static_cast<unsigned char>(c) < 32; });
  if (name.size() > limit) name.resize(limit);
  return name;
}

}  // namespace

void TextFieldTyping::Reset(std::string_view utf8, std::size_t limit) {
  limit_ = limit;
  name_ = Printable(utf8, limit_);
}

std::string TextFieldTyping::Changed(std::string_view utf8) {
  const std::string wanted = Printable(utf8, limit_);
  std::size_t same = 0;
  while (same < name_.size() && same < wanted.size() && name_[same] == wanted[same]) ++same;
  std::string typing(name_.size() - same, '\b');
  typing += wanted.substr(same);
  name_ = wanted;
  return typing;
}

std::string TextFieldTyping::NameUtf8() const {
  return Cp1252ToUtf8(name_);
}

}  // namespace mw
