// Every mistake on the command line is named in German. (Every accepted
// command line is run by the exit-status, record-and-replay and window tests.)

#include <gtest/gtest.h>

#include "app/command_line.h"
#include "platform/os/program_entry.h"

namespace mw {
namespace {

std::string Error(std::vector<std::string> args) {
  auto parsed = ParseCommandLine(args);
  if (auto* e = std::get_if<CommandLineError>(&parsed)) return e->message;
  ADD_FAILURE() << "accepted a bad command line";
  return {};
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

#ifndef _WIN32
// A program may be started without even its own name (execve allows it):
// then there is no command line to read.
TEST(CommandLine, AStartWithoutEvenTheProgramsNameHasNoArguments) {
  char name[] = "moewenschuss";
  char option[] = "--windowed";
  char* argv[] = {name, option, nullptr};
  EXPECT_EQ(ProgramArguments(2, argv), std::vector<std::string>{"--windowed"});
  EXPECT_TRUE(ProgramArguments(0, argv + 2).empty());
}
#endif

}  // namespace
}  // namespace mw
