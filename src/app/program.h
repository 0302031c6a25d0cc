#pragma once
// The whole program behind main: the command line, the platform it asks for,
// the run itself, and the exit status.

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/exit_status.h"

namespace mw {

// args are the arguments after the program name.
int RunProgram(const std::vector<std::string>& args, std::string_view version, std::ostream& out,
               std::ostream& err);

}  // namespace mw
