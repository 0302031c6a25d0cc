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

// True while the program goes on; at its end the frames are gone.
bool RunOneFrame(Frames* frames) {
  if (frames->frame()) return true;
  emscripten_cancel_main_loop();
  const int status = frames->finish();
  delete frames;
  TellPageProgramEnded(status);
  return false;
}

void RunOneAnimationFrame(void* data) {
  RunOneFrame(static_cast<Frames*>(data));
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
  auto* frames = new Frames{std::move(frame), std::move(finish)};
  emscripten_set_main_loop_arg(RunOneAnimationFrame, frames, 0, false);
  TellPageFramesStarted(frames);
  return 0;
}

}  // namespace mw

// One frame at once, for a page that gets no more animation frames (hidden,
// or being left) but must let the program finish what it was doing. The
// pointer is the one TellPageFramesStarted gave, valid until the page hears
// that the program ended. Returns 1 while the program goes on.
extern "C" EMSCRIPTEN_KEEPALIVE int mw_run_frame_now(void* frames) {
  if (frames == nullptr) return 0;
  return mw::RunOneFrame(static_cast<mw::Frames*>(frames)) ? 1 : 0;
}
