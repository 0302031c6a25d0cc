#include <windows.h>

#include "platform/os/environment.h"
#include "platform/os/utf16_paths.h"

namespace mw {

// Asked of the system in UTF-16: the C library's narrow copy holds the
// system's code page, so OEDIR=C:\Users\Jörg\Spiel would come out garbled.
std::optional<std::string> ReadEnvironment(const std::string& name) {
  const std::optional<std::wstring> wide_name = WideFromUtf8(name);
  if (!wide_name || wide_name->empty() || wide_name->find(L'\0') != std::wstring::npos) {
    return std::nullopt;
  }
  std::wstring value(64, L'\0');
  // A variable that grows between two questions asks for more room once more.
  for (int attempt = 0; attempt < 8; ++attempt) {
    SetLastError(ERROR_SUCCESS);
    const DWORD length =
        GetEnvironmentVariableW(wide_name->c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();  // set, and empty
    }
    if (length < value.size()) {
      value.resize(length);
      return Utf8FromWide(value);
    }
    value.resize(length);  // the size it asks for, with room for the NUL
  }
  return std::nullopt;
}

}  // namespace mw
