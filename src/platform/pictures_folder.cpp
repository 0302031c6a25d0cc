#include "platform/pictures_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/file_storage.h"

namespace mw {
namespace {

// user-dirs.dirs is a few hundred bytes; anything past this is not one.
constexpr std::size_t kMaxUserDirsBytes = 64 * 1024;

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

bool IsFolder(const std::string& path) {
  std::error_code error;
  return !path.empty() && path.front() == '/' && std::filesystem::is_directory(path, error);
}

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

std::string PicturesFolder() {
  const std::string home = Environment("HOME");
  if (const std::string set = Environment("XDG_PICTURES_DIR"); IsFolder(set)) return set;
  std::string config = Environment("XDG_CONFIG_HOME");
  if (config.empty() || config.front() != '/') config = home.empty() ? "" : home + "/.config";
  if (!config.empty()) {
    const FileReadResult read = ReadFilePrefix(config + "/user-dirs.dirs", kMaxUserDirsBytes);
    if (read.status == FileReadResult::Status::kRead) {
      const std::string text(read.bytes.begin(), read.bytes.end());
      if (const std::string named = PicturesDirInUserDirs(text, home); IsFolder(named)) {
        return named;
      }
    }
  }
  return IsFolder(home) ? home : std::string();
}

}  // namespace mw
