#pragma once
// The program's command line:
//   moewenschuss [--windowed] [--events FILE]
//   moewenschuss --headless SCRIPT [--events FILE] [--shots DIR] [--no-sound-device]
//   moewenschuss --help | --version

#include <string>
#include <variant>
#include <vector>

namespace mw {

struct CommandLine {
  enum class Mode { kWindow, kHeadless, kHelp, kVersion };
  Mode mode = Mode::kWindow;
  bool windowed = false;
  std::string events_file;  // empty: no event log
  std::string script_file;  // headless only
  std::string shots_dir;    // headless only; empty: no shots written
  bool no_sound_device = false;
};

struct CommandLineError {
  std::string message;  // one line, without the usage text
};

// args are the arguments after the program name.
std::variant<CommandLine, CommandLineError> ParseCommandLine(const std::vector<std::string>& args);

// The usage text, several lines, ending in a newline.
std::string UsageText();

}  // namespace mw
