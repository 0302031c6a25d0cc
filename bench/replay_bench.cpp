// How fast a recorded 12:00 game of "viele" gulls replays without a window:
// a headless player chooses the settings and plays a whole game, recorded;
// then the recording is replayed as fast as the machine allows.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/program.h"
#include "bench/benches.h"

namespace mw {
namespace {

// Settings: "viele" gulls and 12:00, then a game with the mouse moving and
// firing every 150 ms, and a name on the high-score screen.
std::string LongGameScript() {
  std::ostringstream s;
  s << "100 mouse 20 310\n200 press mouse-left\n"  // Einstellungen
    << "400 mouse 20 150\n500 press mouse-left\n"  // Möven: viele
    << "700 mouse 20 300\n800 press mouse-left\n1000 press mouse-left\n"
    << "1200 press mouse-left\n"                      // Zeit: 12:00
    << "1400 mouse 20 350\n1500 press mouse-left\n"   // Zurück
    << "1800 mouse 20 260\n1900 press mouse-left\n";  // Spiel starten
  unsigned x = 12345;
  for (int t = 2500; t < 2500 + 720000; t += 150) {
    x = x * 1103515245u + 12345u;
    s << t << " mouse " << (x >> 8) % 640 << ' ' << (x >> 4) % 480 << '\n';
    if (x % 2 == 0) s << t + 5 << " press mouse-left\n";
    if (x % 10 == 1) s << t + 10 << " press mouse-right\n";
  }
  s << "741000 type Bench\n741500 press enter\n742500 mouse 20 410\n742600 press mouse-left\n";
  return s.str();
}

double SecondsOf(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  const auto start = std::chrono::steady_clock::now();
  const int status = RunProgram(args, "bench", out, err);
  const auto end = std::chrono::steady_clock::now();
  if (status != 0) throw std::runtime_error("run failed: " + err.str());
  return std::chrono::duration<double>(end - start).count();
}

}  // namespace

int RunReplayBench() {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / "moewenschuss-replay-bench";
  fs::create_directories(folder);
  const std::string script = (folder / "game.script").string();
  const std::string recording = (folder / "game.rec").string();
  std::ofstream(script) << LongGameScript();
  ::setenv("OEDIR", (folder.string() + "/").c_str(), 1);
  int result = 0;
  try {
    const double played = SecondsOf({"--headless", script, "--record", recording});
    const double replayed = SecondsOf({"--replay", recording, "--no-window"});
    std::printf(
        "replay of a recorded 12:00 \"viele\" game without window: %.2f s "
        "(target under 10 s; played headless in %.2f s; recording %.0f KB)\n",
        replayed, played, static_cast<double>(fs::file_size(recording)) / 1024.0);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "moewenschuss_bench: replay: %s\n", e.what());
    result = 1;
  }
  ::unsetenv("OEDIR");
  fs::remove_all(folder);
  return result;
}

}  // namespace mw
