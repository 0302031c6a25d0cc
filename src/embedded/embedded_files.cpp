#include "embedded/embedded_files.h"

#include <algorithm>
#include <cctype>

namespace mw {

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

const EmbeddedFile* FindEmbeddedFile(std::string_view name) {
  for (const EmbeddedFile& f : EmbeddedFiles()) {
    if (SameNameIgnoringCase(f.name, name)) return &f;
  }
  return nullptr;
}

}  // namespace mw
