#pragma once
// The program's folder and the per-user data folder, the same for both
// platforms.

#include <string>

namespace mw {

// The folder that holds the executable, ending in a separator ("/", or "\\"
// on Windows). Throws RuntimeError.
std::string ExecutableFolder();

// The per-user data folder of the game (made if needed), ending in a
// separator; empty when the system has none.
std::string PerUserDataFolder();

}  // namespace mw
