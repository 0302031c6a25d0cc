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

}  // namespace
}  // namespace mw
