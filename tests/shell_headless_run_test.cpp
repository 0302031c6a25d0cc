#include <gtest/gtest.h>

#include "shell_process.h"

namespace mw {
namespace {

using test::FreshFolder;
using test::ReadWholeFile;
using test::RunExecutable;

constexpr const char* kVisitSettings =
    "# menu, then the settings screen with one change, back, and Ende\n"
    "0 mouse 320 300\n"
    "100 shot menu\n"
    "200 press mouse-left\n"
    "400 mouse 320 140\n"
    "500 press mouse-left\n"
    "600 shot settings\n"
    "700 press escape\n"
    "900 mouse 320 400\n"
    "1000 press enter\n";

TEST(HeadlessRun, TheSameScriptGivesTheSameLogAndPicturesTwice) {
  std::vector<std::filesystem::path> runs;
  for (const char* name : {"run_a", "run_b"}) {
    const auto dir = FreshFolder(name);
    std::ofstream(dir / "visit.script") << kVisitSettings;
    std::filesystem::create_directories(dir / "shots");
    const auto r = RunExecutable(
        {"--headless", "visit.script", "--events", "log.jsonl", "--shots", "shots"}, dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    runs.push_back(dir);
  }
  const std::string log = ReadWholeFile(runs[0] / "log.jsonl");
  EXPECT_EQ(log, ReadWholeFile(runs[1] / "log.jsonl"));
  for (const char* png : {"shots/menu.png", "shots/settings.png"}) {
    const std::string a = ReadWholeFile(runs[0] / png);
    EXPECT_GT(a.size(), 1000u) << png;
    EXPECT_EQ(a, ReadWholeFile(runs[1] / png)) << png;
  }
  EXPECT_EQ(
      ReadWholeFile(runs[0] / "shots/menu.png") == ReadWholeFile(runs[0] / "shots/settings.png"),
      false);

  // The screens in order, and a clean end.
  std::vector<std::string> lines;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) lines.push_back(line.substr(line.find(',') + 1));
  EXPECT_EQ(lines, (std::vector<std::string>{
                       R"("event":"screen","name":"menu"})",
                       R"("event":"screen","name":"settings"})",
                       R"("event":"screen","name":"menu"})",
                       R"("event":"exit","code":0})",
                   }));
}

// The screen, game-end and exit events of a run, without their times.
std::vector<std::string> Milestones(const std::string& log) {
  std::vector<std::string> kept;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) {
    const std::string body = line.substr(line.find(',') + 1);
    if (body.starts_with(R"("event":"screen")") || body.starts_with(R"("event":"game-end")") ||
        body.starts_with(R"("event":"exit")")) {
      kept.push_back(body.substr(0, body.find(",\"score\"")));
    }
  }
  return kept;
}

test::ProcessResult RunScript(const std::string& name, const std::string& script) {
  const auto dir = FreshFolder(name);
  std::ofstream(dir / "run.script") << script;
  auto r = RunExecutable({"--headless", "run.script", "--events", "log.jsonl"}, dir);
  r.out = ReadWholeFile(dir / "log.jsonl");  // the log is what these tests look at
  return r;
}

TEST(HeadlessRun, AGameIsAlwaysFollowedByTheHighScoresBeforeTheMenu) {
  const auto r = RunScript("game_then_table",
                           "0 mouse 320 250\n100 press mouse-left\n"   // "Spiel starten"
                           "1000 press escape\n"                       // end the game
                           "2000 press enter\n"                        // leave the table
                           "2500 mouse 320 400\n2600 press enter\n");  // "Ende"
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Milestones(r.out), (std::vector<std::string>{
                                   R"("event":"screen","name":"menu"})",
                                   R"("event":"screen","name":"game"})",
                                   R"("event":"game-end","reason":"escape")",
                                   R"("event":"screen","name":"highscores"})",
                                   R"("event":"screen","name":"menu"})",
                                   R"("event":"exit","code":0})",
                               }));
}

TEST(HeadlessRun, ClosingTheWindowInAGameEndsWithoutTheTable) {
  const auto r = RunScript("close_in_game", "0 mouse 320 250\n100 press mouse-left\n1000 close\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Milestones(r.out), (std::vector<std::string>{
                                   R"("event":"screen","name":"menu"})",
                                   R"("event":"screen","name":"game"})",
                                   R"("event":"game-end","reason":"close")",
                                   R"("event":"exit","code":0})",
                               }));
}

TEST(HeadlessRun, HighscoresFromTheMenuReturnToTheMenu) {
  const auto r = RunScript("table_from_menu",
                           "0 mouse 320 350\n100 press mouse-left\n"  // "Highscores"
                           "500 down escape\n700 up escape\n"         // leave the table
                           "1000 press escape\n");                    // end the program
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Milestones(r.out), (std::vector<std::string>{
                                   R"("event":"screen","name":"menu"})",
                                   R"("event":"screen","name":"highscores"})",
                                   R"("event":"screen","name":"menu"})",
                                   R"("event":"exit","code":0})",
                               }));
}

}  // namespace
}  // namespace mw
