// The real program as a whole: its exit status and what it prints for every
// kind of trouble (a bad command line, script or event log, a script that
// never ends, no display, no sound card), and a read-only or full disk while
// saving, where the player gets a clear message and the table on disk is never
// lost. (A missing or misplaced high-score file is tested on the high-score
// screen and in the storage tests, where it is cheaper.)

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "hardening_sandbox.h"
#include "highscores/high_score_format.h"

namespace mw {
namespace {

namespace fs = std::filesystem;
using test::FileText;
using test::FreshFolder;
using test::Listing;
using test::LogLines;
using test::RunExecutable;
using test::RunResult;
using test::Sandbox;
using test::WriteFile;
using Bytes = std::vector<std::uint8_t>;

std::string AsText(const Bytes& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// A table that differs from the defaults in every rank.
std::string SomeTable() {
  HighScoreRanks ranks;
  for (std::size_t i = 0; i < ranks.size(); ++i) {
    ranks[i] = {"Kapit\xE4n " + std::to_string(i + 1), static_cast<std::int32_t>(5000 - 900 * i)};
  }
  return AsText(EncodeHighScores(ranks));
}

// The messagebox events of a run, in order.
std::vector<std::string> MessageBoxes(const std::string& log) {
  return LogLines(log, "\"event\":\"messagebox\"");
}

TEST(HardeningEnvironment, NoSoundDeviceEndsTheProgramWhenAGameStartsAndLeavesTheTable) {
  Sandbox box;
  fs::create_directories(box.Root() / "scores");
  const fs::path file = box.Root() / "scores/highscores.pdk";
  WriteFile(file, SomeTable());

  const RunResult r = box.Run("0 mouse 320 250\n100 press mouse-left\n",
                              (box.Root() / "scores/").string(), {"--no-sound-device"});
  EXPECT_EQ(r.status, 1);
  const auto boxes = MessageBoxes(r.log);
  ASSERT_EQ(boxes.size(), 1u) << r.log;
  EXPECT_NE(boxes[0].find("\"text\":\"Audiohardware nicht gefunden !\""), std::string::npos);
  EXPECT_NE(r.log.find("\"event\":\"exit\",\"code\":1"), std::string::npos);
  EXPECT_EQ(r.err, "moewenschuss: Audiohardware nicht gefunden !\n");
  EXPECT_EQ(FileText(file), SomeTable());
  EXPECT_EQ(Listing(box.Root() / "scores"), std::vector<std::string>{"highscores.pdk"});
}

TEST(HardeningEnvironment, NoDisplayAtAllIsOneLineOnStderrAndStatusOne) {
  Sandbox box;
  // An X11 program without any X server, a video driver that does not exist,
  // and no desktop at all (where SDL alone would pick an invisible driver):
  // SDL's video cannot start, or must not, in each.
  const std::vector<std::map<std::string, std::string>> environments = {
      {{"SDL_VIDEODRIVER", "x11"}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}},
      {{"SDL_VIDEODRIVER", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}},
      {{"SDL_VIDEODRIVER", "no-such-driver"}, {"DISPLAY", ""}}};
  for (const auto& environment : environments) {
    for (const std::vector<std::string>& flags :
         {std::vector<std::string>{}, std::vector<std::string>{"--windowed"}}) {
      std::vector<std::string> args = {MW_EXECUTABLE};
      args.insert(args.end(), flags.begin(), flags.end());
      const RunResult r = box.Wait(box.Spawn(args, std::nullopt, environment));
      const std::string driver = environment.at("SDL_VIDEODRIVER");
      EXPECT_EQ(r.status, 1) << driver;  // an exit, not a signal
      EXPECT_TRUE(r.err.starts_with("moewenschuss: ")) << r.err;
      EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
  }
  EXPECT_EQ(Listing(box.Home()), std::vector<std::string>{});
}

// Where the tests run as root, file permissions stop nothing; a read-only
// mount still does.
TEST(HardeningEnvironment, ReadOnlyFolderComplainsAndKeepsTheOldFile) {
  Sandbox box;
  if (const auto why = box.MountTmpfs("ro", 256)) GTEST_SKIP() << *why;
  WriteFile(box.Root() / "ro/highscores.pdk", SomeTable());
  if (const auto why = box.RemountReadOnly("ro")) GTEST_SKIP() << *why;

  const RunResult r = box.Run(test::kVisitHighScores, (box.Root() / "ro/").string());
  EXPECT_EQ(r.status, 0) << r.err;
  const auto boxes = MessageBoxes(r.log);
  ASSERT_EQ(boxes.size(), 1u) << r.log;
  EXPECT_NE(boxes[0].find("schreibgesch\xC3\xBCtzt"), std::string::npos) << boxes[0];
  EXPECT_EQ(FileText(box.Root() / "ro/highscores.pdk"), SomeTable());
  EXPECT_EQ(Listing(box.Root() / "ro"), std::vector<std::string>{"highscores.pdk"});
}

TEST(HardeningEnvironment, DiskFullWhileSavingKeepsTheOldFileAndNoTemporary) {
  Sandbox box;
  if (const auto why = box.MountTmpfs("full", 64)) GTEST_SKIP() << *why;
  const fs::path file = box.Root() / "full/highscores.pdk";
  WriteFile(file, SomeTable());
  {
    // Fill every last block.
    std::FILE* filler = std::fopen((box.Root() / "full/filler").c_str(), "wb");
    ASSERT_NE(filler, nullptr);
    const std::string block(512, 'x');
    while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() &&
           std::fflush(filler) == 0) {
    }
    std::fclose(filler);
  }
  // A table that differs from the old one, so a save has something to write:
  // the visit rewrites the same entries, and the stored bytes must not change.
  const RunResult r = box.Run(test::kVisitHighScores, (box.Root() / "full/").string());
  EXPECT_EQ(r.status, 0) << r.err;
  const auto boxes = MessageBoxes(r.log);
  ASSERT_EQ(boxes.size(), 1u) << r.log;
  EXPECT_NE(boxes[0].find("voll"), std::string::npos) << boxes[0];
  EXPECT_EQ(FileText(file), SomeTable());
  EXPECT_EQ(Listing(box.Root() / "full"), (std::vector<std::string>{"filler", "highscores.pdk"}));
}

TEST(ExitStatus, HelpAndVersionPrintAndSucceed) {
  const auto dir = FreshFolder("help");
  const auto help = RunExecutable({"--help"}, dir);
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("moewenschuss --headless SKRIPT"), std::string::npos);
  EXPECT_EQ(help.err, "");

  const auto version = RunExecutable({"--version"}, dir);
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(version.out.starts_with("moewenschuss ")) << version.out;
  EXPECT_EQ(version.out.back(), '\n');
}

TEST(ExitStatus, ABadCommandLineIsStatusTwoWithUsage) {
  const auto dir = FreshFolder("badline");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--fullscreen"}, {"--headless"}, {"--shots", "x"}}) {
    const auto r = RunExecutable(args, dir);
    EXPECT_EQ(r.status, 2) << args[0];
    EXPECT_TRUE(r.err.starts_with("moewenschuss: ")) << r.err;
    EXPECT_NE(r.err.find("Aufruf:"), std::string::npos);
    EXPECT_EQ(r.out, "");
  }
}

TEST(ExitStatus, ABadScriptNamesFileAndLine) {
  const auto dir = FreshFolder("badscript");
  {
    std::ofstream script(dir / "bad.script");
    script << "# fine so far\n0 mouse 10 10\n100 jump high\n";
  }
  const auto r = RunExecutable({"--headless", "bad.script"}, dir);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("bad.script:3: "), std::string::npos) << r.err;

  const auto missing = RunExecutable({"--headless", "nowhere.script"}, dir);
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("nowhere.script"), std::string::npos) << missing.err;
}

TEST(ExitStatus, AScriptThatNeverEndsTheProgramTimesOut) {
  const auto dir = FreshFolder("timeout");
  {
    std::ofstream script(dir / "idle.script");
    script << "0 mouse 600 10\n";
  }
  const auto r = RunExecutable({"--headless", "idle.script", "--events", "log.jsonl"}, dir);
  EXPECT_EQ(r.status, 3) << r.err;
  const std::string log = test::FileText(dir / "log.jsonl");
  EXPECT_NE(log.find("\"event\":\"exit\",\"code\":3"), std::string::npos) << log;
}

TEST(ExitStatus, AnUnwritableEventLogIsRefusedBeforeTheRun) {
  const auto dir = FreshFolder("badlog");
  {
    std::ofstream script(dir / "quit.script");
    script << "100 press escape\n";
  }
  const auto r =
      RunExecutable({"--headless", "quit.script", "--events", "no/such/folder/log.jsonl"}, dir);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("no/such/folder/log.jsonl"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace mw
