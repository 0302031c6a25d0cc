#include <iostream>

#include "app/program.h"
#include "platform/os/program_entry.h"

int main(int argc, char** argv) {
  mw::ConnectToStartingConsole();
  return mw::RunProgram(mw::ProgramArguments(argc, argv), MW_VERSION, std::cout, std::cerr);
}
