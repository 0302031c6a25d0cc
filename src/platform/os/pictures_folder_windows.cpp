#include <shlobj.h>
#include <windows.h>

#include <optional>

#include "platform/os/pictures_folder.h"
#include "platform/os/utf16_paths.h"

namespace mw {
namespace {

// The user's shell folder, when it exists.
std::optional<std::string> ShellFolder(int which) {
  wchar_t path[MAX_PATH] = {};
  if (SHGetFolderPathW(nullptr, which, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) {
    return std::nullopt;
  }
  const DWORD attributes = GetFileAttributesW(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return std::nullopt;
  }
  return Utf8FromWide(path);
}

}  // namespace

std::string PicturesFolder() {
  if (const std::optional<std::string> pictures = ShellFolder(CSIDL_MYPICTURES)) return *pictures;
  return ShellFolder(CSIDL_PROFILE).value_or(std::string());
}

}  // namespace mw
