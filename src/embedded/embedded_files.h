#pragma once
// The pictures, sounds and fonts built into the executable.

#include <cstddef>
#include <span>
#include <string_view>

namespace mw {

struct EmbeddedFile {
  const char* name;  // file name as in the source tree, e.g. "1.pdk"
  const unsigned char* data;
  std::size_t size;
};

std::span<const EmbeddedFile> EmbeddedFiles();

// True when the names are the same but for the case of ASCII letters, as the
// game has always looked up its assets and fonts.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

// The embedded file with this name, compared without regard to case;
// nullptr when there is none.
const EmbeddedFile* FindEmbeddedFile(std::string_view name);

}  // namespace mw
