#pragma once
// The process's environment, read as UTF-8 on every system.

#include <optional>
#include <string>

namespace mw {

// The value of the variable (possibly empty); nullopt when it is not set, or
// (on Windows) when its value cannot be written as UTF-8.
std::optional<std::string> ReadEnvironment(const std::string& name);

}  // namespace mw
