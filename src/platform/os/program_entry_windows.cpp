#include <windows.h>
// shellapi.h needs the types of windows.h first.
#include <shellapi.h>

#include <cstdio>

#include "platform/os/program_entry.h"
#include "platform/os/utf16_paths.h"

namespace mw {
namespace {

bool IsUsable(HANDLE handle) {
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) {
    // A lone surrogate cannot be a file name the game could open; it is
    // passed on as '?' so the message names the argument.
    args.push_back(Utf8FromWide(wide[i]).value_or("?"));
  }
  LocalFree(wide);
  return args;
}

void ConnectToStartingConsole() {
  const bool has_output = IsUsable(GetStdHandle(STD_OUTPUT_HANDLE));
  const bool has_errors = IsUsable(GetStdHandle(STD_ERROR_HANDLE));
  if (has_output && has_errors) return;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;  // started from Explorer
  if (!has_output) std::freopen("CONOUT$", "w", stdout);
  if (!has_errors) std::freopen("CONOUT$", "w", stderr);
  SetConsoleOutputCP(CP_UTF8);
}

int RunFrames(std::function<bool()> frame, std::function<int()> finish) {
  while (frame()) {
  }
  return finish();
}

}  // namespace mw
