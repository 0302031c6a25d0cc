// Recording a run with the program and replaying it: the replay repeats the
// run exactly and touches none of the player's files; a recording that cannot
// be replayed is refused with its reason, and nothing is written; a recording
// cut off by a crash holds whole records up to the cut.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "hardening_sandbox.h"
#include "highscores/high_score_format.h"
#include "platform/recording_format.h"
#include "recording_bytes.h"
#include "soak/aiming.h"
#include "test_world.h"

namespace mw {
namespace {

namespace fs = std::filesystem;
using test::BytesOf;
using test::FileText;
using test::FreshFolder;
using test::Listing;
using test::RunExecutable;
using test::Screens;

// The game of the recorded run starts when the press on "Spiel starten" at
// 1100 ms is let go.
constexpr double kGameStartMs = 1150;

// Rifle shots at the nearest gulls in the first second of a game of "viele"
// gulls, as script lines relative to the game's start. Where the gulls fly is
// found by playing the same game in-process with the same shots: headless
// runs are deterministic, so the program's game is the same one.
std::string AimedShots() {
  test::World w;
  w.session.setting_choice[kGullCount] = 2;
  w.platform.MoveMouse({320, 250});  // where the click on "Spiel starten" left it
  w.SetUpGame();
  const double start = w.platform.NowMs();
  std::ostringstream lines;
  for (int shot = 0; shot < 4; ++shot) {
    w.PlayFrames(12);
    const Point aim = NearestGullInView(w.game, 3).value_or(Point{320, 100});
    w.platform.MoveMouse(aim);
    w.platform.PressKey(vk::kLeftButton);
    const auto at =
        static_cast<std::int64_t>(std::floor(kGameStartMs + w.platform.NowMs() - start));
    lines << at << " mouse " << aim.x << ' ' << aim.y << '\n' << at << " down mouse-left\n";
    w.PlayFrame();
    w.platform.ReleaseKey(vk::kLeftButton);
    lines << at + 10 << " up mouse-left\n";
  }
  return lines.str();
}

// Menu, settings with one change, a game with hits, a name typed on the
// high-score screen, "Ende"; a picture of each screen.
std::string WholeRunScript() {
  return "0 mouse 320 300\n100 shot menu\n200 press mouse-left\n"  // Einstellungen
         "400 mouse 320 140\n500 press mouse-left\n"               // Möven: viele
         "600 shot settings\n700 press escape\n"
         "1000 mouse 320 250\n1100 press mouse-left\n" +  // Spiel starten
         AimedShots() +
         "2300 mouse 300 200\n2300 press mouse-left\n"  // and a miss
         "2500 shot game\n2600 press escape\n"
         "3000 type Möwx\n3100 char 8\n3200 type e!\n3300 shot table\n3400 press enter\n"
         "3800 mouse 320 400\n3900 press enter\n";
}

TEST(RecordAndReplay, AReplayRepeatsTheRunExactlyAndLeavesTheScoresAlone) {
  const fs::path played = FreshFolder("recorded_run");
  std::ofstream(played / "run.script") << WholeRunScript();
  const auto r = RunExecutable({"--headless", "run.script", "--events", "played.jsonl", "--record",
                                "run.rec", "--shots", "shots"},
                               played);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string log = FileText(played / "played.jsonl");
  EXPECT_EQ(Screens(log),
            (std::vector<std::string>{"menu", "settings", "menu", "game", "highscores", "menu"}));
  ASSERT_NE(log.find("\"t\":1150,\"event\":\"screen\",\"name\":\"game\""), std::string::npos)
      << "the shots were aimed for a game starting then";
  EXPECT_GE(test::CountEvents(log, "\"event\":\"sound\",\"number\":6"), 2) << "gulls hit";
  EXPECT_EQ(test::CountEvents(log, "\"event\":\"game-end\",\"reason\":\"escape\""), 1);
  EXPECT_NE(log.find("\"event\":\"highscores\",\"action\":\"saved\""), std::string::npos);
  EXPECT_TRUE(log.ends_with("\"event\":\"exit\",\"code\":0}\n")) << log;
  const std::string table = FileText(played / "highscores.pdk");
  const PlainHighScore best = ParseHighScores(BytesOf(table)).entries[0];
  EXPECT_EQ(best.name, "M\xF6we!") << "typed and corrected on the high-score screen";
  EXPECT_GT(best.score, 0);
  const std::vector<std::string> pictures = Listing(played / "shots");
  ASSERT_EQ(pictures,
            (std::vector<std::string>{"game.png", "menu.png", "settings.png", "table.png"}));

  // Replayed where the score file is missing, and where another one stands:
  // the recorded answers decide, and no file is read or written.
  for (const bool other_file : {false, true}) {
    SCOPED_TRACE(other_file ? "another score file" : "no score file");
    const fs::path replayed = FreshFolder(other_file ? "replay_other" : "replay_none");
    if (other_file) test::WriteFile(replayed / "highscores.pdk", "nicht die Tabelle");
    const auto again = RunExecutable({"--replay", (played / "run.rec").string(), "--no-window",
                                      "--events", "replayed.jsonl", "--shots", "shots"},
                                     replayed);
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.err, "");
    EXPECT_EQ(FileText(replayed / "replayed.jsonl"), log);
    ASSERT_EQ(Listing(replayed / "shots"), pictures);
    for (const std::string& name : pictures) {
      EXPECT_EQ(FileText(replayed / "shots" / name), FileText(played / "shots" / name)) << name;
    }
    std::vector<std::string> expected{
        "replayed.jsonl",     "shots",           "shots/game.png", "shots/menu.png",
        "shots/settings.png", "shots/table.png", "stderr.txt",     "stdout.txt"};
    if (other_file) {
      expected.insert(expected.begin(), "highscores.pdk");
      EXPECT_EQ(FileText(replayed / "highscores.pdk"), "nicht die Tabelle");
    }
    EXPECT_EQ(Listing(replayed), expected);
  }
  EXPECT_EQ(FileText(played / "highscores.pdk"), table);
}

// A short recorded run that visits the high-score table from the menu.
std::string ShortRecording(const fs::path& folder) {
  std::ofstream(folder / "short.script") << test::kVisitHighScores;
  const auto r = RunExecutable(
      {"--headless", "short.script", "--record", "short.rec", "--events", "short.jsonl"}, folder);
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string log = FileText(folder / "short.jsonl");
  EXPECT_EQ(Screens(log), (std::vector<std::string>{"menu", "highscores", "menu"}));
  return FileText(folder / "short.rec");
}

TEST(RecordAndReplay, ABadRecordingIsRefusedWithItsReasonAndNothingIsWritten) {
  const fs::path folder = FreshFolder("bad_recordings");
  const std::string good = ShortRecording(folder);
  ASSERT_GT(good.size(), 100u);
  const Recording parsed = ParseRecording(BytesOf(good), "short.rec");

  // Re-encoded with other contents and a fitting checksum.
  const auto encode = test::EncodeRecording;
  ASSERT_EQ(encode(parsed.entries, parsed.exit_status), good);
  std::vector<RecordEntry> ends_early(parsed.entries.begin(), parsed.entries.end() - 30);
  std::vector<RecordEntry> other_variable = parsed.entries;
  for (RecordEntry& entry : other_variable) {
    auto* answer = std::get_if<RecordedAnswer>(&entry);
    if (answer != nullptr && answer->subject == "OEDIR") answer->subject = "HOME";
  }
  std::string flipped = good;
  flipped[good.size() / 2] = static_cast<char>(flipped[good.size() / 2] ^ 0x10);

  struct Case {
    const char* name;
    std::string bytes;
    const char* reason;
  };
  // What each damage is called is tested with the format; here, two refusals
  // found on reading and the three found only while replaying.
  const std::vector<Case> cases{
      {"empty", "", "sie ist leer"},
      {"a changed byte", flipped, "beschädigt"},
      {"frames ending before the run", encode(ends_early, 0),
       "in der Aufzeichnung steht hier: nichts mehr (sie ist zu Ende)"},
      {"another end", encode(parsed.entries, 1),
       "es endet mit Status 0, die Aufzeichnung mit "
       "Status 1"},
      {"another question", encode(other_variable, 0), "(„OEDIR“)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path run = FreshFolder("bad_recording_run");
    test::WriteFile(run / "bad.rec", c.bytes);
    const auto r = RunExecutable(
        {"--replay", "bad.rec", "--no-window", "--events", "log.jsonl", "--shots", "shots"}, run);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.starts_with("moewenschuss: Die Aufzeichnung „bad.rec“ ")) << r.err;
    EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(Listing(run), (std::vector<std::string>{"bad.rec", "stderr.txt", "stdout.txt"}));
  }

  const auto missing = RunExecutable({"--replay", "nirgends.rec", "--no-window"}, folder);
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("„nirgends.rec“ kann nicht abgespielt werden: sie existiert nicht"),
            std::string::npos)
      << missing.err;
  const auto unwritable =
      RunExecutable({"--headless", "short.script", "--record", "kein/ordner/r.rec"}, folder);
  EXPECT_EQ(unwritable.status, 2);
  EXPECT_NE(unwritable.err.find("„kein/ordner/r.rec“ kann nicht angelegt werden"),
            std::string::npos)
      << unwritable.err;
}

// A recording that cannot be written costs the recording, not the game, and
// the player is told once.
TEST(RecordAndReplay, AFullDiskStopsOnlyTheRecording) {
  const fs::path folder = FreshFolder("full_recording");
  test::WriteFile(folder / "run.script", "100 mouse 20 410\n200 press mouse-left\n");
  const auto r = RunExecutable(
      {"--headless", "run.script", "--record", "/dev/full", "--events", "e.jsonl"}, folder);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err,
            "moewenschuss: Die Aufzeichnung „/dev/full“ kann nicht geschrieben werden: "
            "Der Datenträger ist voll\n");
  EXPECT_NE(FileText(folder / "e.jsonl").find("\"event\":\"exit\",\"code\":0"), std::string::npos);
}

TEST(RecordAndReplay, ARecordingCutOffByACrashHoldsWholeRecordsUpToTheCut) {
  test::Sandbox box;
  const fs::path folder = box.RunDir();
  // A 12:00 game: it runs for several seconds even without a window. It is
  // killed once it has run more than a second and recorded a few records.
  const pid_t run = box.Start(
      "0 mouse 320 300\n100 press mouse-left\n"  // Einstellungen
      "300 mouse 320 300\n400 press mouse-left\n500 press mouse-left\n600 press mouse-left\n"
      "800 press escape\n1000 mouse 320 250\n1100 press mouse-left\n2000000 mouse 320 200\n",
      (box.Root() / "").string(), {"--record", "long.rec"});
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  std::error_code ignored;
  for (int waited = 0; waited < 10000 && fs::file_size(folder / "long.rec", ignored) < 4000;
       waited += 50) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ::kill(run, SIGKILL);
  ASSERT_EQ(box.Wait(run).status, -1) << "the run ended before it was killed";

  const std::string bytes = FileText(folder / "long.rec");
  ASSERT_GE(bytes.size(), 4000u);
  EXPECT_EQ(bytes.substr(0, 6), RecordingHeader());
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
      const Recording read = ParseRecording(BytesOf(closed), "long.rec");
      for (const RecordEntry& entry : read.entries) {
        frames += std::holds_alternative<InputFrame>(entry) ? 1 : 0;
      }
    } catch (const RecordingError&) {
    }
  }
  EXPECT_GT(frames, 300u) << "whole records up to near the cut";

  const auto replay =
      RunExecutable({"--replay", "long.rec", "--no-window", "--events", "e"}, folder);
  EXPECT_EQ(replay.status, 2);
  EXPECT_NE(replay.err.find("unvollständig"), std::string::npos) << replay.err;
  EXPECT_FALSE(fs::exists(folder / "e"));
}

}  // namespace
}  // namespace mw
