// moewenschuss_soak: plays whole games with the soak bot and prints what
// happened in each, with the memory it held at its start and end.
//   moewenschuss_soak [--games N] [--time 0..3] [--folder DIR] [--leak-per-game KB]
// Status 0 when every check held and memory did not pile up from game to game
// (judged by the heap in use and the platform's live resources; the resident
// size is printed for people, never judged).

#include <stdlib.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "soak/memory_trend.h"
#include "soak/soak_bot.h"

namespace {

double Megabytes(std::int64_t bytes) {
  return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// A whole number from min to max; -1 for anything else (never in range here).
long long NumberIn(const char* text, long long min, long long max) {
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || value < min || value > max) return -1;
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  mw::SoakOptions options;
  std::string folder;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--games") {
      options.games = static_cast<int>(NumberIn(argv[i + 1], 1, 10000));
    } else if (flag == "--time") {
      options.game_time = static_cast<int>(NumberIn(argv[i + 1], 0, 3));
    } else if (flag == "--folder") {
      folder = argv[i + 1];
    } else if (flag == "--leak-per-game") {
      const long long kilobytes = NumberIn(argv[i + 1], 0, 1024 * 1024);  // a gigabyte at most
      options.leak_per_game = kilobytes < 0 ? -1 : kilobytes * 1024;
    } else {
      std::fprintf(stderr,
                   "usage: %s [--games N] [--time 0..3] [--folder DIR] [--leak-per-game KB]\n",
                   argv[0]);
      return 2;
    }
  }
  if (options.games < 1 || options.game_time < 0 || options.game_time > 3 ||
      options.leak_per_game < 0) {
    std::fprintf(stderr,
                 "%s: --games must be 1 to 10000, --time 0 to 3, --leak-per-game 0 to 1048576\n",
                 argv[0]);
    return 2;
  }
  std::string temporary;
  if (folder.empty()) {
    temporary = (std::filesystem::temp_directory_path() / "mw_soak_XXXXXX").string();
    if (::mkdtemp(temporary.data()) == nullptr) return 1;
    folder = temporary;
  }
  options.score_folder = folder + "/";

  std::printf("soak: %d games, settings viele/turbo/turbo, time choice %d, table in %s\n",
              options.games, options.game_time, options.score_folder.c_str());
  const mw::SoakResult result = mw::RunSoak(options, [](int n, const mw::SoakGame& g) {
    std::printf(
        "game %d: %lld frames, %lld gull hits, %lld ship hits, %lld wipes, %lld reloads, %lld "
        "weapon switches, score %d; heap in use %lld KB at start, %lld KB at end; resident %.1f MB "
        "at start, %.1f MB at end; at the end %d surfaces, %d textures, %d sounds, %d fonts, %d "
        "rendered texts\n",
        n, static_cast<long long>(g.frames), static_cast<long long>(g.gull_hits),
        static_cast<long long>(g.ship_hits), static_cast<long long>(g.wipes),
        static_cast<long long>(g.reloads), static_cast<long long>(g.weapon_switches), g.score,
        static_cast<long long>(g.heap_start / 1024), static_cast<long long>(g.heap_end / 1024),
        Megabytes(g.resident_start), Megabytes(g.resident_end), g.live_end.surfaces,
        g.live_end.textures, g.live_end.sounds, g.live_end.fonts, g.live_end.rendered_texts);
    std::fflush(stdout);
  });
  if (!temporary.empty()) std::filesystem::remove_all(temporary);

  bool ok = result.problems.empty() && result.exit_code == 0;
  for (const std::string& p : result.problems) std::printf("soak: PROBLEM %s\n", p.c_str());
  for (const std::string& p : mw::MemoryProblems(result.games)) {
    std::printf("soak: PROBLEM %s\n", p.c_str());
    ok = false;
  }
  std::int64_t frames = 0;
  for (const auto& g : result.games) frames += g.frames;
  std::printf("soak: %s, %zu games, %lld frames\n", ok ? "ok" : "FAILED", result.games.size(),
              static_cast<long long>(frames));
  return ok ? 0 : 1;
}
