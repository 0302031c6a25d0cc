#pragma once
// The whole program behind main: the command line, the platform it asks for,
// the run itself, and the exit status.

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace mw {

// Exit statuses of the program.
constexpr int kExitOk = 0;
constexpr int kExitRuntimeError = 1;
constexpr int kExitUsage = 2;  // bad command line or bad script
constexpr int kExitHeadlessTimeout = 3;

// args are the arguments after the program name.
int RunProgram(const std::vector<std::string>& args, std::string_view version, std::ostream& out,
               std::ostream& err);

}  // namespace mw
