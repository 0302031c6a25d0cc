// How fast a recorded 12:00 game of "viele" gulls replays without a window,
// and how much memory a replay takes: a headless player chooses the settings
// and plays a whole game, recorded; then the recording is replayed as fast as
// the machine allows. A 1:30 game is recorded and replayed too: a replay's
// memory must not grow with the length of the game.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/program.h"
#include "bench/benches.h"

namespace mw {
namespace {

// Settings: "viele" gulls and the game time pressed on `time_presses` times
// from 1:30 (3 for 12:00), then a game of `seconds` with the mouse moving and
// firing every 150 ms, and a name on the high-score screen.
std::string GameScript(int time_presses, int seconds) {
  std::ostringstream s;
  s << "100 mouse 20 310\n200 press mouse-left\n"  // Einstellungen
    << "400 mouse 20 150\n500 press mouse-left\n"  // Möven: viele
    << "700 mouse 20 300\n";
  for (int press = 0; press < time_presses; ++press)
    s << 800 + 200 * press << " press mouse-left\n";
  s << "1400 mouse 20 350\n1500 press mouse-left\n"   // Zurück
    << "1800 mouse 20 260\n1900 press mouse-left\n";  // Spiel starten
  unsigned x = 12345;
  const int end = 2500 + 1000 * seconds;
  for (int t = 2500; t < end; t += 150) {
    x = x * 1103515245u + 12345u;
    s << t << " mouse " << (x >> 8) % 640 << ' ' << (x >> 4) % 480 << '\n';
    if (x % 2 == 0) s << t + 5 << " press mouse-left\n";
    if (x % 10 == 1) s << t + 10 << " press mouse-right\n";
  }
  s << end + 18500 << " type Bench\n"
    << end + 19000 << " press enter\n"
    << end + 20000 << " mouse 20 410\n"
    << end + 20100 << " press mouse-left\n";
  return s.str();
}

void Run(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  if (RunProgram(args, "bench", out, err) != 0)
    throw std::runtime_error("run failed: " + err.str());
}

double SecondsOf(const std::vector<std::string>& args) {
  const auto start = std::chrono::steady_clock::now();
  Run(args);
  const auto end = std::chrono::steady_clock::now();
  return std::chrono::duration<double>(end - start).count();
}

// The most memory the run held at once, in MB: it runs in a child process
// of its own, started from the same state each time, so that only what the
// run itself takes differs from one to the next.
double PeakMegabytesOf(const std::vector<std::string>& args) {
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    int status = 1;
    try {
      Run(args);
      status = 0;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "moewenschuss_bench: replay: %s\n", e.what());
    }
    std::_Exit(status);
  }
  int status = 0;
  rusage usage{};
  if (::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    throw std::runtime_error("the measured replay failed");
  }
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KB
}

}  // namespace

int RunReplayBench() {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / "moewenschuss-replay-bench";
  fs::create_directories(folder);
  const std::string long_script = (folder / "long.script").string();
  const std::string long_recording = (folder / "long.rec").string();
  const std::string short_script = (folder / "short.script").string();
  const std::string short_recording = (folder / "short.rec").string();
  std::ofstream(long_script) << GameScript(3, 720);
  std::ofstream(short_script) << GameScript(0, 90);
  ::setenv("OEDIR", (folder.string() + "/").c_str(), 1);
  int result = 0;
  try {
    const double played = SecondsOf({"--headless", long_script, "--record", long_recording});
    const double replayed = SecondsOf({"--replay", long_recording, "--no-window"});
    std::printf(
        "replay of a recorded 12:00 \"viele\" game without window: %.2f s "
        "(target under 10 s; played headless in %.2f s; recording %.0f KB)\n",
        replayed, played, static_cast<double>(fs::file_size(long_recording)) / 1024.0);
    Run({"--headless", short_script, "--record", short_recording});
    const double short_peak = PeakMegabytesOf({"--replay", short_recording, "--no-window"});
    const double long_peak = PeakMegabytesOf({"--replay", long_recording, "--no-window"});
    std::printf(
        "replay peak memory: 12:00 game %.1f MB, 1:30 game %.1f MB (%+.1f MB; target within "
        "2 MB)\n",
        long_peak, short_peak, long_peak - short_peak);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "moewenschuss_bench: replay: %s\n", e.what());
    result = 1;
  }
  ::unsetenv("OEDIR");
  fs::remove_all(folder);
  return result;
}

}  // namespace mw
