#include <iostream>
#include <memory>

#include "app/program.h"
#include "platform/os/program_entry.h"

int main(int argc, char** argv) {
  mw::ConnectToStartingConsole();
  // Shared with the frames, which a browser runs after main has returned.
  auto program = std::make_shared<mw::Program>(std::cout, std::cerr);
  if (!program->Start(mw::ProgramArguments(argc, argv), MW_VERSION)) return program->Finish();
  return mw::RunFrames([program] { return program->Frame(); },
                       [program] { return program->Finish(); });
}
