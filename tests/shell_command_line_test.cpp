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

TEST(CommandLine, HelpAndVersion) {
  EXPECT_EQ(Ok({"--help"}).mode, Mode::kHelp);
  EXPECT_EQ(Ok({"--windowed", "--help"}).mode, Mode::kHelp);
  EXPECT_EQ(Ok({"--version"}).mode, Mode::kVersion);
  EXPECT_NE(UsageText().find("--headless SCRIPT"), std::string::npos);
}

TEST(CommandLine, MistakesAreNamed) {
  EXPECT_EQ(Error({"--fullscreen"}), "unknown option --fullscreen");
  EXPECT_EQ(Error({"game.script"}), "unexpected argument game.script");
  EXPECT_EQ(Error({"--headless"}), "--headless needs a script file");
  EXPECT_EQ(Error({"--events"}), "--events needs a file name");
  EXPECT_EQ(Error({"--events", ""}), "--events needs a file name");
  // An option where a value belongs is a forgotten value, not a file name.
  EXPECT_EQ(Error({"--events", "--windowed"}), "--events needs a file name");
  EXPECT_EQ(Error({"--headless", "a", "--shots"}), "--shots needs a folder");
  EXPECT_EQ(Error({"--windowed", "--windowed"}), "--windowed is given more than once");
  EXPECT_EQ(Error({"--events", "a", "--events", "b"}), "--events is given more than once");
  EXPECT_EQ(Error({"--headless", "s", "--windowed"}), "--windowed cannot be used with --headless");
  EXPECT_EQ(Error({"--shots", "out"}), "--shots needs --headless");
  EXPECT_EQ(Error({"--no-sound-device"}), "--no-sound-device needs --headless");
  // A mistake is reported even next to --help, so a typo is never silently ignored.
  EXPECT_EQ(Error({"--help", "--bogus"}), "unknown option --bogus");
}

}  // namespace
}  // namespace mw
