// The real program in every bad environment a player can have: no sound card,
// no display, a high-score folder that is missing, read-only or full, a
// folder in the file's place, a stale temporary file, an absurd OEDIR. Each
// time the player gets a clear message, the game goes on where it can, and
// the table on disk is never lost.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "hardening_sandbox.h"
#include "highscores/high_score_format.h"
#include "highscores/high_score_screen.h"
#include "platform/cp1252.h"
#include "platform/headless_platform.h"
#include "shared/display_state.h"
#include "shared/guarded_values.h"
#include "shared/session.h"

namespace mw {
namespace {

namespace fs = std::filesystem;
using test::FileText;
using test::Listing;
using test::LogLines;
using test::RunResult;
using test::Sandbox;
using test::WriteFile;
using Bytes = std::vector<std::uint8_t>;

std::string AsText(const Bytes& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

Bytes AsBytes(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

// A table that differs from the defaults in every rank.
std::string SomeTable() {
  HighScoreRanks ranks;
  for (std::size_t i = 0; i < ranks.size(); ++i) {
    ranks[i] = {"Kapit\xE4n " + std::to_string(i + 1), static_cast<std::int32_t>(5000 - 900 * i)};
  }
  return AsText(EncodeHighScores(ranks));
}

// The picture of the table as it looks with no file at all: the defaults.
std::string DefaultTablePicture() {
  Sandbox fresh;
  fs::create_directories(fresh.Root() / "scores");
  const RunResult r = fresh.Run(test::kVisitHighScores, (fresh.Root() / "scores/").string());
  EXPECT_EQ(r.status, 0) << r.err;
  return FileText(fresh.RunDir() / "table.png");
}

// The messagebox events of a run, in order.
std::vector<std::string> MessageBoxes(const std::string& log) {
  return LogLines(log, "\"event\":\"messagebox\"");
}

// The time of the first log line containing part, or -1.
long TimeOf(const std::string& log, const std::string& part) {
  const auto lines = LogLines(log, part);
  if (lines.empty()) return -1;
  return std::stol(lines.front().substr(lines.front().find(':') + 1));
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

TEST(HardeningEnvironment, OedirNamingAMissingFolderShowsDefaultsAndCreatesNothing) {
  const std::string defaults = DefaultTablePicture();
  Sandbox box;
  const fs::path program = box.CopyOfExecutable();
  const std::string missing = (box.Root() / "nowhere/deeper/").string();

  const RunResult r = box.Run(test::kVisitHighScores, missing, {}, program);
  EXPECT_EQ(r.status, 0) << r.err;
  const auto boxes = MessageBoxes(r.log);
  ASSERT_EQ(boxes.size(), 1u) << r.log;
  EXPECT_NE(boxes[0].find(missing + "highscores.pdk"), std::string::npos) << boxes[0];
  EXPECT_EQ(FileText(box.RunDir() / "table.png"), defaults);
  // The menu came back and the program ended normally.
  EXPECT_GT(TimeOf(r.log, "\"name\":\"menu\"}"), -1);
  EXPECT_NE(r.log.find("\"event\":\"exit\",\"code\":0"), std::string::npos);
  EXPECT_FALSE(fs::exists(box.Root() / "nowhere"));
  EXPECT_EQ(Listing(box.Root() / "bin"), std::vector<std::string>{"moewenschuss"});
  EXPECT_EQ(Listing(box.Home()), std::vector<std::string>{});
}

TEST(HardeningEnvironment, ReadOnlyFolderComplainsOnLeavingAndKeepsTheOldFile) {
  Sandbox box;
  if (const auto why = box.MountTmpfs("ro", 256)) GTEST_SKIP() << *why;
  WriteFile(box.Root() / "ro/highscores.pdk", SomeTable());
  if (const auto why = box.RemountReadOnly("ro")) GTEST_SKIP() << *why;

  const RunResult r = box.Run(test::kVisitHighScores, (box.Root() / "ro/").string());
  EXPECT_EQ(r.status, 0) << r.err;
  const auto boxes = MessageBoxes(r.log);
  ASSERT_EQ(boxes.size(), 1u) << r.log;
  EXPECT_NE(boxes[0].find("schreibgesch\xC3\xBCtzt"), std::string::npos) << boxes[0];
  // Only when the screen is left (Escape at 500), not on entry.
  EXPECT_GE(TimeOf(r.log, "\"event\":\"messagebox\""), 500);
  EXPECT_GE(TimeOf(r.log, "\"action\":\"failed\""), 500);
  EXPECT_EQ(FileText(box.Root() / "ro/highscores.pdk"), SomeTable());
  EXPECT_EQ(Listing(box.Root() / "ro"), std::vector<std::string>{"highscores.pdk"});
}

TEST(HardeningEnvironment, AFolderInTheFilesPlaceShowsDefaultsAndIsLeftAlone) {
  const std::string defaults = DefaultTablePicture();
  Sandbox box;
  fs::create_directories(box.Root() / "scores/highscores.pdk");
  WriteFile(box.Root() / "scores/highscores.pdk/keep.txt", "mine");

  const RunResult r = box.Run(test::kVisitHighScores, (box.Root() / "scores/").string());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_FALSE(MessageBoxes(r.log).empty()) << r.log;
  EXPECT_TRUE(LogLines(r.log, "\"action\":\"saved\"").empty()) << r.log;
  EXPECT_EQ(FileText(box.RunDir() / "table.png"), defaults);
  EXPECT_TRUE(fs::is_directory(box.Root() / "scores/highscores.pdk"));
  EXPECT_EQ(Listing(box.Root() / "scores"),
            (std::vector<std::string>{"highscores.pdk", "highscores.pdk/keep.txt"}));
  EXPECT_EQ(FileText(box.Root() / "scores/highscores.pdk/keep.txt"), "mine");
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

TEST(HardeningEnvironment, AnOedirOf300CharactersCountsAsNotSet) {
  Sandbox box;
  const fs::path program = box.CopyOfExecutable();
  const std::string too_long = (box.Root() / std::string(300, 'o')).string().substr(0, 300);
  ASSERT_EQ(too_long.size(), 300u);

  const RunResult r = box.Run(test::kVisitHighScores, too_long, {}, program);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(MessageBoxes(r.log).empty()) << r.log;
  const std::string expected = (box.Root() / "bin/highscores.pdk").string();
  EXPECT_EQ(LogLines(r.log, "\"path\":\"" + expected + "\"").size(), 1u) << r.log;
  EXPECT_TRUE(fs::is_regular_file(expected));
  EXPECT_EQ(Listing(box.Root() / "bin"),
            (std::vector<std::string>{"highscores.pdk", "moewenschuss"}));
}

TEST(HardeningEnvironment, StaleTemporaryFilesFromACrashAreIgnoredAndTheTableReplaced) {
  Sandbox box;
  fs::create_directories(box.Root() / "scores");
  const fs::path file = box.Root() / "scores/highscores.pdk";
  // An extra sixth record is dropped by the next save, so the file must change.
  HighScoreRanks extra;
  extra.fill({"sechster", 1});
  const std::string old_file = SomeTable() + AsText(EncodeHighScores(extra)).substr(0, 14);
  WriteFile(file, old_file);
  // Half-written leftovers of killed saves, under the names a save uses.
  for (const std::string name :
       {"highscores.pdk.tmp1-0", "highscores.pdk.tmp99999-0", "highscores.pdk.tmp1-1"}) {
    WriteFile(box.Root() / "scores" / name, "\x07garbage");
  }

  const RunResult r = box.Run(test::kVisitHighScores, (box.Root() / "scores/").string());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(MessageBoxes(r.log).empty()) << r.log;
  EXPECT_EQ(LogLines(r.log, "\"action\":\"saved\"").size(), 1u) << r.log;
  EXPECT_EQ(FileText(file), SomeTable());
  EXPECT_FALSE(ParseHighScores(AsBytes(FileText(file))).cheat_flag);
}

// Every byte from 32 to 255, spread over the five names of a file.
HighScoreRanks EveryByteInNames() {
  HighScoreRanks ranks;
  int code = 32;
  for (std::size_t i = 0; i < ranks.size(); ++i) {
    ranks[i].score = static_cast<std::int32_t>(100000 - 1000 * i);
    for (int k = 0; k < 45 && code <= 255; ++k, ++code)
      ranks[i].name.push_back(static_cast<char>(code));
  }
  return ranks;
}

TEST(HardeningEnvironment, NamesWithEveryByteAreDrawnSavedAndLoadedBackUnchanged) {
  Sandbox box;
  fs::create_directories(box.Root() / "scores");
  const fs::path file = box.Root() / "scores/highscores.pdk";
  const std::string stored = AsText(EncodeHighScores(EveryByteInNames()));
  WriteFile(file, stored);

  const RunResult r = box.Run(test::kVisitHighScores, (box.Root() / "scores/").string());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(MessageBoxes(r.log).empty()) << r.log;
  EXPECT_GT(FileText(box.RunDir() / "table.png").size(), 1000u);
  EXPECT_EQ(LogLines(r.log, "\"action\":\"saved\"").size(), 1u) << r.log;
  EXPECT_EQ(FileText(file), stored);
}

// Typed on the high-score screen, 17 characters a visit: every code from 32
// to 255 reaches the file and comes back unchanged.
TEST(HardeningEnvironment, EveryTypedCharacterIsSavedAndLoadedBackUnchanged) {
  Sandbox box;
  const std::string dir = (box.Root() / "").string();
  Session session;
  ChooseDefaultSettings(session);
  session.setting_choice[kGameTime] = 3;  // 12:00: scores are stored as they are
  for (int first = 32; first <= 255; first += 17) {
    std::string script;
    std::string expected;
    for (int code = first; code < first + 17 && code <= 255; ++code) {
      script += std::to_string(100 + code - first) + " char " + std::to_string(code) + "\n";
      expected.push_back(static_cast<char>(code));
    }
    script += "400 shot typed\n500 press enter\n";
    HeadlessPlatform platform(ParseScript(script, "typed"), HeadlessOptions{});
    DisplayState display;
    platform.OpenDisplay();
    MakeMenuBackBuffer(platform, display);
    GuardedNumber holder;
    holder.SetValue(1000000 + first);  // always the best so far
    ShowHighScores(platform, session, display, holder, dir);

    const ParsedHighScores saved =
        ParseHighScores(AsBytes(FileText(box.Root() / "highscores.pdk")));
    EXPECT_FALSE(saved.cheat_flag);
    EXPECT_EQ(saved.entries[0], (PlainHighScore{expected, 1000000 + first})) << "from " << first;
  }
  EXPECT_FALSE(session.cheat_flag);
}

}  // namespace
}  // namespace mw
