#pragma once
// The whole program behind main: the command line, the platform it asks for,
// the run itself, and the exit status. A desktop runs its passes one after
// the other; a browser calls Frame() once per frame of its own.

#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/exit_status.h"

namespace mw {

class Program {
 public:
  Program(std::ostream& out, std::ostream& err);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Reads the command line (the arguments after the program's name) and sets
  // the run up; false when there is nothing to run (help, version, or a
  // failure already told on err): Finish() then gives the status.
  bool Start(const std::vector<std::string>& args, std::string_view version);
  // The passes of one frame: up to and with the first that shows a picture
  // or rests. False once the program has ended.
  bool Frame();
  // Closes what the run opened and gives the exit status.
  int Finish();

  // What a run holds (program.cpp).
  struct Run;

 private:
  std::ostream& out_;
  std::ostream& err_;
  std::unique_ptr<Run> run_;
  int status_ = kExitOk;
  bool finished_ = false;
};

// A whole run on the desktop: Start, every Frame, Finish.
int RunProgram(const std::vector<std::string>& args, std::string_view version, std::ostream& out,
               std::ostream& err);

}  // namespace mw
