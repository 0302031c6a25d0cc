// Recording a run with the program and replaying it: the replay repeats the
// run exactly and touches none of the player's files; a recording that cannot
// be replayed is refused with its reason, and nothing is written; a recording
// cut off by a crash holds whole records up to the cut.

#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "hardening_sandbox.h"
#include "input/recording_format.h"
#include "recording_bytes.h"

namespace mw {
namespace {

namespace fs = std::filesystem;
using test::BytesOf;
using test::FileText;
using test::Listing;
using test::RunExecutable;

const std::string kGameScript = std::string(MW_SOURCE_DIR) + "/tests/golden/game.script";

// The golden game run (both weapons, a ship, a name typed on the high-score
// screen, two pictures), played by the program into the folder and recorded
// as game.rec.
void RecordTheGoldenGame(const fs::path& folder) {
  const auto r = RunExecutable({"--headless", kGameScript, "--events", "played.jsonl", "--record",
                                "game.rec", "--shots", "shots"},
                               folder);
  ASSERT_EQ(r.status, 0) << r.err;
}

TEST(RecordAndReplay, AReplayRepeatsTheRunExactlyAndLeavesTheScoresAlone) {
  const test::TempFolder recorded;
  const fs::path& played = recorded.Path();
  RecordTheGoldenGame(played);
  const std::string log = FileText(played / "played.jsonl");
  const std::string table = FileText(played / "highscores.pdk");
  ASSERT_NE(log.find("\"action\":\"saved\""), std::string::npos);
  const std::vector<std::string> pictures = Listing(played / "shots");
  ASSERT_EQ(pictures, (std::vector<std::string>{"empty-rifle.png", "wiper-flash.png"}));

  // Replayed where the score file is missing, and where another one stands:
  // the recorded answers decide, and no file is read or written.
  for (const bool other_file : {false, true}) {
    SCOPED_TRACE(other_file ? "another score file" : "no score file");
    const test::TempFolder replay_folder;
    const fs::path& replayed = replay_folder.Path();
    if (other_file) test::WriteFile(replayed / "highscores.pdk", "nicht die Tabelle");
    const auto again = RunExecutable({"--replay", (played / "game.rec").string(), "--no-window",
                                      "--events", "replayed.jsonl", "--shots", "shots"},
                                     replayed);
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.err, "");
    EXPECT_EQ(FileText(replayed / "replayed.jsonl"), log);
    for (const std::string& name : pictures) {
      EXPECT_EQ(FileText(replayed / "shots" / name), FileText(played / "shots" / name)) << name;
    }
    std::vector<std::string> expected{
        "replayed.jsonl",        "shots",      "shots/empty-rifle.png",
        "shots/wiper-flash.png", "stderr.txt", "stdout.txt"};
    if (other_file) {
      expected.insert(expected.begin(), "highscores.pdk");
      EXPECT_EQ(FileText(replayed / "highscores.pdk"), "nicht die Tabelle");
    }
    EXPECT_EQ(Listing(replayed), expected);
  }
  EXPECT_EQ(FileText(played / "highscores.pdk"), table);

  // A second game reads the table the first one saved; its replay, where no
  // table stands, reads that table from the recording.
  const auto second = RunExecutable(
      {"--headless", kGameScript, "--events", "second.jsonl", "--record", "second.rec"}, played);
  ASSERT_EQ(second.status, 0) << second.err;
  const test::TempFolder elsewhere;
  const auto replay = RunExecutable(
      {"--replay", (played / "second.rec").string(), "--no-window", "--events", "replayed.jsonl"},
      elsewhere.Path());
  ASSERT_EQ(replay.status, 0) << replay.err;
  EXPECT_EQ(FileText(elsewhere.Path() / "replayed.jsonl"), FileText(played / "second.jsonl"));
}

// A recording holds what the pads and fingers became, not the pads and
// fingers: the replay needs no script and gives the same log and pictures.
TEST(RecordAndReplay, AVisitByPadOrByTouchReplaysExactly) {
  for (const std::string name : {"pad", "touch"}) {
    SCOPED_TRACE(name);
    const test::TempFolder folder;
    const fs::path& run = folder.Path();
    const std::string script = std::string(MW_SOURCE_DIR) + "/tests/golden/" + name + ".script";
    const auto played = RunExecutable({"--headless", script, "--events", "played.jsonl", "--record",
                                       "run.rec", "--shots", "played"},
                                      run);
    ASSERT_EQ(played.status, 0) << played.err;
    ASSERT_NE(FileText(run / "played.jsonl").find("\"action\":\"saved\""), std::string::npos);
    const auto replayed = RunExecutable(
        {"--replay", "run.rec", "--no-window", "--events", "replayed.jsonl", "--shots", "replayed"},
        run);
    ASSERT_EQ(replayed.status, 0) << replayed.err;
    EXPECT_EQ(FileText(run / "replayed.jsonl"), FileText(run / "played.jsonl"));
    EXPECT_EQ(FileText(run / "replayed" / "name.png"), FileText(run / "played" / "name.png"));
  }
}

TEST(RecordAndReplay, ABadRecordingIsRefusedWithItsReasonAndNothingIsWritten) {
  const test::TempFolder recorded;
  const fs::path& folder = recorded.Path();
  RecordTheGoldenGame(folder);
  const std::string good = FileText(folder / "game.rec");
  const Recording parsed = ParseRecording(BytesOf(good), "game.rec");

  // Re-encoded with other contents and a fitting checksum.
  const auto encode = test::EncodeRecording;
  ASSERT_EQ(encode(parsed.entries, parsed.exit_status), good);
  std::vector<RecordEntry> ends_early(parsed.entries.begin(), parsed.entries.end() - 30);
  std::vector<RecordEntry> other_variable = parsed.entries;
  for (RecordEntry& entry : other_variable) {
    auto* answer = std::get_if<RecordedAnswer>(&entry);
    if (answer != nullptr && answer->subject == "OEDIR") answer->subject = "HOME";
  }
  // The last frame's pointer off the picture, under a fitting checksum: only
  // reading every frame before the replay starts finds it.
  std::vector<RecordEntry> late_damage = parsed.entries;
  const auto last_frame = std::find_if(late_damage.rbegin(), late_damage.rend(), [](auto& entry) {
    return std::holds_alternative<InputFrame>(entry);
  });
  std::get<InputFrame>(*last_frame).mouse.x = 640;
  std::string flipped = good;
  flipped[good.size() / 2] = static_cast<char>(flipped[good.size() / 2] ^ 0x10);

  struct Case {
    const char* name;
    std::string bytes;
    const char* reason;
  };
  // What each damage is called is tested with the format; here, refusals
  // found on reading and the three found only while replaying.
  const std::vector<Case> cases{
      {"a changed byte", flipped, "beschädigt"},
      {"a damaged last frame", encode(late_damage, 0), "eine Mausposition außerhalb des Bildes"},
      {"frames ending before the run", encode(ends_early, 0),
       "in der Aufzeichnung steht hier: nichts mehr (sie ist zu Ende)"},
      {"another end", encode(parsed.entries, 1),
       "es endet mit Status 0, die Aufzeichnung mit Status 1"},
      {"another question", encode(other_variable, 0), "(„OEDIR“)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const test::TempFolder run_folder;
    const fs::path& run = run_folder.Path();
    test::WriteFile(run / "bad.rec", c.bytes);
    const auto r = RunExecutable(
        {"--replay", "bad.rec", "--no-window", "--events", "log.jsonl", "--shots", "shots"}, run);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.starts_with("moewenschuss: Die Aufzeichnung „bad.rec“ ")) << r.err;
    EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(Listing(run), (std::vector<std::string>{"bad.rec", "stderr.txt", "stdout.txt"}));
  }
}

// A recording that cannot be written costs the recording, not the game, and
// the player is told once.
TEST(RecordAndReplay, AFullDiskStopsOnlyTheRecording) {
  const test::TempFolder full_folder;
  const fs::path& folder = full_folder.Path();
  const auto r = RunExecutable(
      {"--headless", kGameScript, "--record", "/dev/full", "--events", "e.jsonl"}, folder);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.err.starts_with(
      "moewenschuss: Die Aufzeichnung „/dev/full“ kann nicht geschrieben werden: "))
      << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  EXPECT_TRUE(FileText(folder / "e.jsonl").ends_with("\"event\":\"exit\",\"code\":0}\n"));
}

TEST(RecordAndReplay, ARecordingCutOffByACrashHoldsWholeRecordsUpToTheCut) {
  test::Sandbox box;
  const fs::path folder = box.RunDir();
  // A game that runs for ever, killed once it has recorded a few records.
  const pid_t run = box.Start("0 mouse 320 250\n100 press mouse-left\n2000000 mouse 320 200\n",
                              (box.Root() / "").string(), {"--record", "long.rec"});
  const auto recorded = [&folder] {
    std::error_code missing;
    const std::uintmax_t size = fs::file_size(folder / "long.rec", missing);
    return missing ? 0 : size;
  };
  for (int waited = 0; waited < 10000 && recorded() < 4000; waited += 50) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ::kill(run, SIGKILL);
  ASSERT_EQ(box.Wait(run).status, -1) << "the run ended before it was killed";

  const std::string bytes = FileText(folder / "long.rec");
  ASSERT_GE(bytes.size(), 4000u);
  try {
    ParseRecording(BytesOf(bytes), "long.rec");
    FAIL() << "a recording without its end was read";
  } catch (const RecordingError& e) {
    EXPECT_NE(std::string(e.what()).find("sie ist unvollständig"), std::string::npos) << e.what();
  }
  // Closed with an end record at most one record before the cut, it reads.
  std::size_t frames = 0;
  for (std::size_t cut = bytes.size(); cut + 64 > bytes.size() && frames == 0; --cut) {
    std::string closed = bytes.substr(0, cut);
    AppendEndRecord(closed, 0, RecordingCrc(BytesOf(closed)));
    try {
      for (const RecordEntry& entry : ParseRecording(BytesOf(closed), "long.rec").entries) {
        frames += std::holds_alternative<InputFrame>(entry) ? 1 : 0;
      }
    } catch (const RecordingError&) {
    }
  }
  EXPECT_GT(frames, 300u) << "whole records up to near the cut";
}

}  // namespace
}  // namespace mw
