#include <windows.h>

#include <algorithm>
#include <climits>

#include "platform/os/utf16_paths.h"

namespace mw {

std::optional<std::wstring> WideFromUtf8(const std::string& utf8) {
  if (utf8.empty()) return std::wstring();
  if (utf8.size() > INT_MAX) return std::nullopt;
  const int length = static_cast<int>(utf8.size());
  const int needed =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
  if (needed <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(),
                          needed) != needed) {
    return std::nullopt;
  }
  return wide;
}

std::optional<std::wstring> WidePath(const std::string& utf8) {
  std::optional<std::wstring> wide = WideFromUtf8(utf8);
  // A NUL inside would silently cut the path short at the API.
  if (!wide || wide->find(L'\0') != std::wstring::npos) return std::nullopt;
  std::replace(wide->begin(), wide->end(), L'/', L'\\');
  return wide;
}

std::optional<std::string> Utf8FromWide(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  if (wide.size() > INT_MAX) return std::nullopt;
  const int length = static_cast<int>(wide.size());
  const int needed = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), length,
                                         nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return std::nullopt;
  std::string utf8(static_cast<std::size_t>(needed), '\0');
  if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), length, utf8.data(), needed,
                          nullptr, nullptr) != needed) {
    return std::nullopt;
  }
  return utf8;
}

}  // namespace mw
