#include <filesystem>
#include <system_error>

#include "platform/os/environment.h"
#include "platform/os/file_storage.h"
#include "platform/os/pictures_folder.h"
#include "xdg/user_dirs.h"

namespace mw {
namespace {

// user-dirs.dirs is a few hundred bytes; anything past this is not one.
constexpr std::size_t kMaxUserDirsBytes = 64 * 1024;

std::string Environment(const char* name) {
  return ReadEnvironment(name).value_or(std::string());
}

bool IsFolder(const std::string& path) {
  std::error_code error;
  return !path.empty() && path.front() == '/' && std::filesystem::is_directory(path, error);
}

}  // namespace

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
