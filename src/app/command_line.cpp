#include "app/command_line.h"

#include <cstddef>

namespace mw {
namespace {

using Mode = CommandLine::Mode;

struct Parser {
  const std::vector<std::string>& args;
  std::size_t next = 0;
  std::string error;

  bool Fail(std::string message) {
    if (error.empty()) error = std::move(message);
    return false;
  }

  // The value of an option that needs one; it may not be empty or another option.
  bool TakeValue(const std::string& option, const char* what, std::string& into) {
    if (!into.empty()) return Fail(option + " is given more than once");
    if (next >= args.size() || args[next].empty() || args[next].starts_with("--")) {
      return Fail(option + " needs " + what);
    }
    into = args[next++];
    return true;
  }

  bool TakeFlag(const std::string& option, bool& flag) {
    if (flag) return Fail(option + " is given more than once");
    flag = true;
    return true;
  }
};

}  // namespace

std::variant<CommandLine, CommandLineError> ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  Parser p{args, 0, {}};
  bool headless = false;
  bool help = false;
  bool version = false;

  while (p.next < args.size() && p.error.empty()) {
    const std::string& arg = args[p.next++];
    if (arg == "--help" || arg == "-h") {
      help = true;
    } else if (arg == "--version") {
      version = true;
    } else if (arg == "--windowed") {
      p.TakeFlag(arg, line.windowed);
    } else if (arg == "--headless") {
      if (p.TakeValue(arg, "a script file", line.script_file)) headless = true;
    } else if (arg == "--events") {
      p.TakeValue(arg, "a file name", line.events_file);
    } else if (arg == "--shots") {
      p.TakeValue(arg, "a folder", line.shots_dir);
    } else if (arg == "--no-sound-device") {
      p.TakeFlag(arg, line.no_sound_device);
    } else if (arg.starts_with("-")) {
      p.Fail("unknown option " + arg);
    } else {
      p.Fail("unexpected argument " + arg);
    }
  }
  if (!p.error.empty()) return CommandLineError{p.error};

  if (help) {
    line.mode = Mode::kHelp;
    return line;
  }
  if (version) {
    line.mode = Mode::kVersion;
    return line;
  }
  if (headless) {
    if (line.windowed) return CommandLineError{"--windowed cannot be used with --headless"};
    line.mode = Mode::kHeadless;
    return line;
  }
  if (!line.shots_dir.empty()) return CommandLineError{"--shots needs --headless"};
  if (line.no_sound_device) return CommandLineError{"--no-sound-device needs --headless"};
  line.mode = Mode::kWindow;
  return line;
}

std::string UsageText() {
  return "Usage:\n"
         "  moewenschuss [--windowed] [--events FILE]\n"
         "  moewenschuss --headless SCRIPT [--events FILE] [--shots DIR] [--no-sound-device]\n"
         "  moewenschuss --help | --version\n"
         "\n"
         "  --windowed         play in a window instead of full screen (Alt+Enter switches)\n"
         "  --events FILE      write every event of the run to FILE, one JSON object per line\n"
         "  --headless SCRIPT  run without a window or sound card, input from SCRIPT\n"
         "  --shots DIR        with --headless: write the pictures the script asks for to DIR\n"
         "  --no-sound-device  with --headless: behave as if there were no sound card\n"
         "  --help             show this text\n"
         "  --version          show the program's version\n";
}

}  // namespace mw
