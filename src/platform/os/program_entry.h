#pragma once
// What main needs from the system before the program runs: its arguments as
// UTF-8, and where the text for --help, --version and a run without a window
// goes.

#include <functional>
#include <string>
#include <vector>

namespace mw {

// The arguments after the program's name, in UTF-8. Windows hands main its
// arguments in the system's code page, so there they are read anew as UTF-16.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// A Windows program of the graphical kind starts without a console: started
// from Explorer none may appear, but started from a console its text belongs
// there. Output already redirected to a file or a pipe stays where it is.
// Nothing to do elsewhere.
void ConnectToStartingConsole();

// Runs a started program's frames the way the system runs programs: one after
// the other until `frame` says it has ended, then `finish` gives the exit
// status main returns. (A browser instead calls one frame per frame of the
// page, after main has returned.)
int RunFrames(std::function<bool()> frame, std::function<int()> finish);

}  // namespace mw
