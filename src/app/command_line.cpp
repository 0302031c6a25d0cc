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
    if (!into.empty()) return Fail(option + " ist mehrfach angegeben");
    if (next >= args.size() || args[next].empty() || args[next].starts_with("--")) {
      return Fail(option + " braucht " + what);
    }
    into = args[next++];
    return true;
  }

  bool TakeFlag(const std::string& option, bool& flag) {
    if (flag) return Fail(option + " ist mehrfach angegeben");
    flag = true;
    return true;
  }
};

// The combinations that make no sense, or "" when there is none.
std::string Conflict(const CommandLine& line, bool headless, bool replay) {
  if (headless && replay) return "--headless geht nicht zusammen mit --replay";
  if (headless && line.windowed) return "--windowed geht nicht zusammen mit --headless";
  if (replay && !line.record_file.empty()) return "--record geht nicht zusammen mit --replay";
  if (line.no_window && !replay) return "--no-window braucht --replay";
  if (line.no_window && line.windowed) return "--windowed geht nicht zusammen mit --no-window";
  if (!line.shots_dir.empty() && !headless && !line.no_window) {
    return "--shots braucht --headless oder --replay mit --no-window";
  }
  if (line.no_sound_device && !headless) return "--no-sound-device braucht --headless";
  return "";
}

}  // namespace

std::variant<CommandLine, CommandLineError> ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  Parser p{args, 0, {}};
  bool headless = false;
  bool replay = false;
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
      if (p.TakeValue(arg, "eine Skriptdatei", line.script_file)) headless = true;
    } else if (arg == "--events") {
      p.TakeValue(arg, "einen Dateinamen", line.events_file);
    } else if (arg == "--shots") {
      p.TakeValue(arg, "einen Ordner", line.shots_dir);
    } else if (arg == "--no-sound-device") {
      p.TakeFlag(arg, line.no_sound_device);
    } else if (arg == "--record") {
      p.TakeValue(arg, "einen Dateinamen", line.record_file);
    } else if (arg == "--replay") {
      if (p.TakeValue(arg, "eine Aufzeichnung", line.replay_file)) replay = true;
    } else if (arg == "--no-window") {
      p.TakeFlag(arg, line.no_window);
    } else if (arg.starts_with("-")) {
      p.Fail("unbekannte Option " + arg);
    } else {
      p.Fail("unerwartetes Argument " + arg);
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
  if (std::string conflict = Conflict(line, headless, replay); !conflict.empty()) {
    return CommandLineError{conflict};
  }
  line.mode = headless ? Mode::kHeadless : replay ? Mode::kReplay : Mode::kWindow;
  return line;
}

std::string UsageText() {
  return "Aufruf:\n"
         "  moewenschuss [--windowed] [--events DATEI] [--record DATEI]\n"
         "  moewenschuss --headless SKRIPT [--events DATEI] [--shots ORDNER] [--no-sound-device]\n"
         "               [--record DATEI]\n"
         "  moewenschuss --replay DATEI [--windowed] [--events DATEI]\n"
         "  moewenschuss --replay DATEI --no-window [--events DATEI] [--shots ORDNER]\n"
         "  moewenschuss --help | --version\n"
         "\n"
         "  --windowed          im Fenster statt im Vollbild spielen (Alt+Enter wechselt)\n"
         "  --events DATEI      jedes Ereignis des Laufs in DATEI schreiben, eine JSON-Zeile je\n"
         "                      Ereignis\n"
         "  --record DATEI      den Lauf in DATEI aufzeichnen, damit er sich genau wiederholen\n"
         "                      lässt\n"
         "  --replay DATEI      eine Aufzeichnung in ihrem Tempo im Fenster zeigen (Escape oder\n"
         "                      Schließen beendet das Zusehen)\n"
         "  --no-window         mit --replay: ohne Fenster und Ton, so schnell wie möglich\n"
         "  --headless SKRIPT   ohne Fenster und Soundkarte laufen, die Eingaben aus SKRIPT\n"
         "  --shots ORDNER      die Bilder, die das Skript verlangt, in ORDNER schreiben\n"
         "                      (der Ordner wird angelegt, wenn es ihn nicht gibt)\n"
         "  --no-sound-device   mit --headless: sich verhalten wie ohne Soundkarte\n"
         "  --help              diesen Text zeigen\n"
         "  --version           die Version des Programms zeigen\n";
}

}  // namespace mw
