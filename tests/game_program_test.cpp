// A game inside the whole program, run as the player would start it.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "shell_process.h"

namespace mw {
namespace {

using test::FreshFolder;
using test::ReadWholeFile;
using test::RunExecutable;

test::ProcessResult RunScript(const std::filesystem::path& dir, const std::string& script,
                              bool sound_device) {
  std::ofstream(dir / "run.script") << script;
  std::vector<std::string> args{"--headless", "run.script", "--events", "events.jsonl"};
  if (!sound_device) args.push_back("--no-sound-device");
  return RunExecutable(args, dir);
}

TEST(GameProgram, WithoutASoundDeviceTheGameStartEndsTheProgram) {
  const auto dir = FreshFolder("game_no_sound");
  // The menu runs without sound; only "Spiel starten" needs it.
  const auto r = RunScript(dir, "1000 press enter\n3000 press escape\n", false);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Audiohardware nicht gefunden !"), std::string::npos) << r.err;
  const std::string log = ReadWholeFile(dir / "events.jsonl");
  EXPECT_EQ(log,
            "{\"t\":0,\"event\":\"screen\",\"name\":\"menu\"}\n"
            "{\"t\":1050,\"event\":\"messagebox\",\"title\":\"Möwenschuss\",\"text\":"
            "\"Audiohardware nicht gefunden !\"}\n"
            "{\"t\":1050,\"event\":\"exit\",\"code\":1}\n");
}

TEST(GameProgram, ClosingTheWindowDuringAGameEndsTheProgramWithoutHighScores) {
  const auto dir = FreshFolder("game_close");
  const auto r = RunScript(dir, "1000 press enter\n2000 close\n", true);
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string log = ReadWholeFile(dir / "events.jsonl");
  EXPECT_NE(log.find("\"event\":\"game-end\",\"reason\":\"close\",\"score\":0"), std::string::npos)
      << log;
  EXPECT_EQ(log.find("highscores"), std::string::npos) << log;
  EXPECT_NE(log.find("\"event\":\"exit\",\"code\":0"), std::string::npos) << log;
}

}  // namespace
}  // namespace mw
