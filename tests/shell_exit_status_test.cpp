#include <gtest/gtest.h>

#include "shell_process.h"

namespace mw {
namespace {

using test::FreshFolder;
using test::RunExecutable;

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
  const std::string log = test::ReadWholeFile(dir / "log.jsonl");
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
