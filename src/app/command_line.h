#pragma once
// The program's command line:
//   moewenschuss [--windowed] [--events FILE] [--record FILE]
//   moewenschuss --headless SCRIPT [--events FILE] [--shots DIR] [--no-sound-device]
//                [--record FILE]
//   moewenschuss --replay FILE [--windowed] [--events FILE]
//   moewenschuss --replay FILE --no-window [--events FILE] [--shots DIR]
//   moewenschuss --help | --version

#include <string>
#include <variant>
#include <vector>

namespace mw {

struct CommandLine {
  enum class Mode { kWindow, kHeadless, kReplay, kHelp, kVersion };
  Mode mode = Mode::kWindow;
  bool windowed = false;
  std::string events_file;  // empty: no event log
  std::string script_file;  // headless only
  std::string shots_dir;    // headless or replay without window; empty: no shots
  bool no_sound_device = false;
  std::string record_file;  // empty: the run is not recorded
  std::string replay_file;  // replay only
  bool no_window = false;   // replay only: as fast as possible, without window and sound
};

struct CommandLineError {
  std::string message;  // one German line, without the usage text
};

// args are the arguments after the program name.
std::variant<CommandLine, CommandLineError> ParseCommandLine(const std::vector<std::string>& args);

// The German usage text, several lines, ending in a newline.
std::string UsageText();

}  // namespace mw
