#pragma once
// Typing a name with a pad alone: the last letter of the name is turned to
// the next or the previous one of a ring (capitals with Ä Ö Ü, small letters
// with ä ö ü ß, digits, a space and a few marks), jumps to the next group of
// the ring, a new letter is added, or the last one deleted. Each edit is
// what a keyboard would type for it (Windows-1252, Backspace as 8), so the
// high-score screen takes it as typing.

#include <cstddef>
#include <string>
#include <string_view>

namespace mw {

enum class NameEdit {
  kNextLetter,
  kPreviousLetter,
  kNextGroup,
  kPreviousGroup,
  kAddLetter,
  kDeleteLetter,
};

// What to type to make the edit on a name (Windows-1252) of at most `limit`
// characters; empty when there is nothing to do.
std::string TypingForNameEdit(std::string_view name, NameEdit edit, std::size_t limit);

// A name after typing: Backspace drops the last character, codes from 32 on
// are added while the name is shorter than limit, any other code does nothing.
void ApplyTypingToName(std::string& name, std::string_view typed, std::size_t limit);

}  // namespace mw
