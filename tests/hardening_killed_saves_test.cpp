// The real program killed at a random instant while it visits the high-score
// screen over and over, saving each time: afterwards the file always holds a
// loadable table, the old one or the new one. MW_KILLED_SAVES sets the number
// of kills (50 by default; `make soak` asks for 1000).

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "hardening_sandbox.h"
#include "highscores/high_score_format.h"

namespace mw {
namespace {

namespace fs = std::filesystem;
using test::FileText;
using test::Sandbox;
using test::WriteFile;
using Bytes = std::vector<std::uint8_t>;

int KillCount() {
  const char* text = std::getenv("MW_KILLED_SAVES");
  const int n = text != nullptr ? std::atoi(text) : 0;
  return n > 0 ? n : 50;
}

// Visits of the high-score screen, one every 600 ms of virtual time, then Ende.
std::string ManyVisits(int visits) {
  std::string script = "0 mouse 320 350\n";
  for (int i = 0; i < visits; ++i) {
    script += std::to_string(100 + 600 * i) + " press mouse-left\n";
    script += std::to_string(400 + 600 * i) + " press escape\n";
  }
  script += std::to_string(600 * visits + 200) + " press escape\n";
  return script;
}

TEST(HardeningKilledSaves, EveryKillLeavesTheOldOrTheNewTable) {
  HighScoreRanks ranks;
  for (std::size_t i = 0; i < ranks.size(); ++i) {
    ranks[i] = {std::string(18, static_cast<char>('A' + i)), static_cast<std::int32_t>(9000 - i)};
  }
  const Bytes saved = EncodeHighScores(ranks);
  const std::string new_file(saved.begin(), saved.end());
  // A sixth record that every save drops: the old file differs from the new.
  const std::string old_file = new_file + new_file.substr(0, 24);

  Sandbox box;
  fs::create_directories(box.Root() / "scores");
  const fs::path file = box.Root() / "scores/highscores.pdk";
  const std::string oedir = (box.Root() / "scores/").string();
  const std::string script = ManyVisits(8);

  // How long a whole run takes here, to spread the kills over it.
  WriteFile(file, old_file);
  const auto started = std::chrono::steady_clock::now();
  const test::RunResult full = box.Wait(box.Start(script, oedir));
  const auto run_time = std::chrono::steady_clock::now() - started;
  ASSERT_EQ(full.status, 0) << full.err;
  ASSERT_EQ(FileText(file), new_file);
  const auto run_us = std::chrono::duration_cast<std::chrono::microseconds>(run_time).count();

  std::mt19937 random(20240611);  // the same instants on every run
  std::uniform_int_distribution<long> instant(0, run_us);
  const int kills = KillCount();
  int old_seen = 0;
  int new_seen = 0;
  for (int round = 0; round < kills; ++round) {
    WriteFile(file, old_file);
    const pid_t child = box.Start(script, oedir);
    std::this_thread::sleep_for(std::chrono::microseconds(instant(random)));
    ::kill(child, SIGKILL);
    box.Wait(child);

    const std::string now = FileText(file);
    ASSERT_TRUE(now == old_file || now == new_file)
        << "round " << round << ": " << now.size() << " bytes";
    EXPECT_FALSE(ParseHighScores(Bytes(now.begin(), now.end())).cheat_flag);
    (now == old_file ? old_seen : new_seen) += 1;
  }
  std::cout << "killed saves: " << kills << " kills in runs of " << run_us / 1000 << " ms, "
            << old_seen << " left the old table, " << new_seen << " the new one\n";
}

}  // namespace
}  // namespace mw
