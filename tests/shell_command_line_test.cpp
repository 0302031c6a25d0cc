#include <gtest/gtest.h>

#include "app/command_line.h"

namespace mw {
namespace {

using Mode = CommandLine::Mode;

CommandLine Ok(std::vector<std::string> args) {
  auto parsed = ParseCommandLine(args);
  if (auto* e = std::get_if<CommandLineError>(&parsed)) {
    ADD_FAILURE() << "unexpected error: " << e->message;
    return {};
  }
  return std::get<CommandLine>(parsed);
}

std::string Error(std::vector<std::string> args) {
  auto parsed = ParseCommandLine(args);
  if (auto* e = std::get_if<CommandLineError>(&parsed)) return e->message;
  ADD_FAILURE() << "accepted a bad command line";
  return {};
}

TEST(CommandLine, WindowModeIsTheDefault) {
  const CommandLine plain = Ok({});
  EXPECT_EQ(plain.mode, Mode::kWindow);
  EXPECT_FALSE(plain.windowed);
  EXPECT_TRUE(plain.events_file.empty());

  const CommandLine windowed = Ok({"--events", "log.jsonl", "--windowed"});
  EXPECT_EQ(windowed.mode, Mode::kWindow);
  EXPECT_TRUE(windowed.windowed);
  EXPECT_EQ(windowed.events_file, "log.jsonl");
}

TEST(CommandLine, HeadlessTakesItsScriptAndOptionsInAnyOrder) {
  const CommandLine line = Ok(
      {"--shots", "out", "--headless", "run.script", "--no-sound-device", "--events", "e.jsonl"});
  EXPECT_EQ(line.mode, Mode::kHeadless);
  EXPECT_EQ(line.script_file, "run.script");
  EXPECT_EQ(line.shots_dir, "out");
  EXPECT_EQ(line.events_file, "e.jsonl");
  EXPECT_TRUE(line.no_sound_device);
}

TEST(CommandLine, RecordAndReplay) {
  const CommandLine recorded = Ok({"--headless", "s", "--record", "run.rec"});
  EXPECT_EQ(recorded.mode, Mode::kHeadless);
  EXPECT_EQ(recorded.record_file, "run.rec");
  EXPECT_EQ(Ok({"--windowed", "--record", "run.rec"}).mode, Mode::kWindow);

  const CommandLine watched = Ok({"--replay", "run.rec", "--windowed", "--events", "e"});
  EXPECT_EQ(watched.mode, Mode::kReplay);
  EXPECT_EQ(watched.replay_file, "run.rec");
  EXPECT_FALSE(watched.no_window);
  const CommandLine fast = Ok({"--shots", "d", "--no-window", "--replay", "run.rec"});
  EXPECT_TRUE(fast.no_window);
  EXPECT_EQ(fast.shots_dir, "d");
}

TEST(CommandLine, HelpAndVersion) {
  EXPECT_EQ(Ok({"--help"}).mode, Mode::kHelp);
  EXPECT_EQ(Ok({"--windowed", "--help"}).mode, Mode::kHelp);
  EXPECT_EQ(Ok({"--version"}).mode, Mode::kVersion);
  EXPECT_NE(UsageText().find("--headless SKRIPT"), std::string::npos);
  EXPECT_NE(UsageText().find("--replay DATEI --no-window"), std::string::npos);
}

TEST(CommandLine, MistakesAreNamedInGerman) {
  EXPECT_EQ(Error({"--fullscreen"}), "unbekannte Option --fullscreen");
  EXPECT_EQ(Error({"game.script"}), "unerwartetes Argument game.script");
  EXPECT_EQ(Error({"--headless"}), "--headless braucht eine Skriptdatei");
  EXPECT_EQ(Error({"--replay"}), "--replay braucht eine Aufzeichnung");
  EXPECT_EQ(Error({"--events", ""}), "--events braucht einen Dateinamen");
  // An option where a value belongs is a forgotten value, not a file name.
  EXPECT_EQ(Error({"--record", "--windowed"}), "--record braucht einen Dateinamen");
  EXPECT_EQ(Error({"--headless", "a", "--shots"}), "--shots braucht einen Ordner");
  EXPECT_EQ(Error({"--windowed", "--windowed"}), "--windowed ist mehrfach angegeben");
  EXPECT_EQ(Error({"--events", "a", "--events", "b"}), "--events ist mehrfach angegeben");
  EXPECT_EQ(Error({"--headless", "s", "--windowed"}),
            "--windowed geht nicht zusammen mit --headless");
  EXPECT_EQ(Error({"--headless", "s", "--replay", "r"}),
            "--headless geht nicht zusammen mit --replay");
  EXPECT_EQ(Error({"--replay", "r", "--record", "x"}), "--record geht nicht zusammen mit --replay");
  EXPECT_EQ(Error({"--no-window"}), "--no-window braucht --replay");
  EXPECT_EQ(Error({"--replay", "r", "--no-window", "--windowed"}),
            "--windowed geht nicht zusammen mit --no-window");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--shots", "out"}, {"--replay", "r", "--shots", "out"}}) {
    EXPECT_EQ(Error(args), "--shots braucht --headless oder --replay mit --no-window");
  }
  EXPECT_EQ(Error({"--no-sound-device"}), "--no-sound-device braucht --headless");
  // A mistake is reported even next to --help, so a typo is never silently ignored.
  EXPECT_EQ(Error({"--help", "--bogus"}), "unbekannte Option --bogus");
}

}  // namespace
}  // namespace mw
