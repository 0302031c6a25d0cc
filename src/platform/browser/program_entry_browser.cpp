// In a browser main must return at once and the page's frames run the
// program; under Node.js (the headless build) it runs as on a desktop.

#include <emscripten.h>

#include <functional>
#include <utility>

#include "platform/browser/browser_page.h"
#include "platform/os/program_entry.h"

namespace mw {
namespace {

struct Frames {
  std::function<bool()> frame;
  std::function<int()> finish;
};

void RunOneFrame(void* data) {
  auto* frames = static_cast<Frames*>(data);
  if (frames->frame()) return;
  emscripten_cancel_main_loop();
  const int status = frames->finish();
  delete frames;
  TellPageProgramEnded(status);
}

}  // namespace

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void ConnectToStartingConsole() {}

int RunFrames(std::function<bool()> frame, std::function<int()> finish) {
  if (!InBrowserPage()) {
    while (frame()) {
    }
    return finish();
  }
  // One frame of the program in each of the page's animation frames.
  emscripten_set_main_loop_arg(RunOneFrame, new Frames{std::move(frame), std::move(finish)}, 0,
                               false);
  return 0;
}

}  // namespace mw
