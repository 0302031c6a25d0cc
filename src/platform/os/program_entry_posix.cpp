#include "platform/os/program_entry.h"

namespace mw {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void ConnectToStartingConsole() {}

int RunFrames(std::function<bool()> frame, std::function<int()> finish) {
  while (frame()) {
  }
  return finish();
}

}  // namespace mw
