#include "xdg/user_dirs.h"

namespace mw {
namespace {

// The quoted value with the shell's escapes undone; nullopt-like empty when
// the quotes do not close.
std::string Unquoted(std::string_view value) {
  if (value.size() < 2 || value.front() != '"') return {};
  std::string plain;
  for (std::size_t i = 1; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '"') return plain;
    if (c == '\\' && i + 1 < value.size()) {
      plain += value[++i];
    } else {
      plain += c;
    }
  }
  return {};
}

}  // namespace

std::string PicturesDirInUserDirs(std::string_view user_dirs, const std::string& home) {
  constexpr std::string_view kKey = "XDG_PICTURES_DIR=";
  std::string found;
  std::size_t at = 0;
  while (at < user_dirs.size()) {
    std::size_t end = user_dirs.find('\n', at);
    if (end == std::string_view::npos) end = user_dirs.size();
    std::string_view line = user_dirs.substr(at, end - at);
    at = end + 1;
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) {
      line.remove_suffix(1);
    }
    if (!line.starts_with(kKey)) continue;
    const std::string value = Unquoted(line.substr(kKey.size()));
    // The file's own rule: "$HOME/..." relative to home, or an absolute path;
    // the last line that sets it counts, as when the shell reads it.
    if (value.starts_with("$HOME/") && !home.empty()) {
      found = home + value.substr(5);
    } else if (value == "$HOME") {
      found = home;
    } else if (value.starts_with("/")) {
      found = value;
    }
  }
  while (found.size() > 1 && found.back() == '/') found.pop_back();
  return found;
}

}  // namespace mw
