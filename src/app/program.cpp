#include "app/program.h"

#include <memory>
#include <new>

#include "app/command_line.h"
#include "app/form.h"
#include "app/program_state.h"
#include "platform/cp1252.h"
#include "platform/headless_platform.h"
#include "platform/runtime_error.h"
#include "platform/sdl_platform.h"

namespace mw {
namespace {

constexpr const char* kProgramName = "moewenschuss";

struct StartFailure {
  int status;
  std::string message;
};

std::unique_ptr<Platform> MakeHeadless(const CommandLine& line) {
  try {
    HeadlessOptions options;
    options.shots_dir = line.shots_dir;
    options.sound_device = !line.no_sound_device;
    return MakeHeadlessPlatform(LoadScript(line.script_file), options);
  } catch (const ScriptError& e) {
    throw StartFailure{kExitUsage, e.what()};
  }
}

std::unique_ptr<Platform> MakePlatform(const CommandLine& line) {
  if (line.mode == CommandLine::Mode::kHeadless) return MakeHeadless(line);
  try {
    return MakeSdlPlatform(SdlOptions{line.windowed});
  } catch (const std::exception& e) {
    throw StartFailure{kExitRuntimeError, e.what()};
  }
}

void OpenEventLog(Platform& platform, const std::string& path) {
  if (path.empty()) return;
  try {
    platform.Events().Open(path);
  } catch (const std::exception& e) {
    throw StartFailure{kExitUsage, e.what()};
  }
}

// The player sees the error in a message box; it also goes to stderr, and
// the log ends with the status.
int ReportRunTimeError(Platform& platform, const std::string& utf8_text, std::ostream& err) {
  try {
    platform.ShowMessageBox(Utf8ToCp1252("Möwenschuss"), Utf8ToCp1252(utf8_text));
  } catch (const std::exception&) {
    // Without a display there is no box; stderr still has the text.
  }
  err << kProgramName << ": " << utf8_text << '\n';
  try {
    platform.Events().Exit(kExitRuntimeError);
  } catch (const std::exception&) {
  }
  return kExitRuntimeError;
}

int Run(Platform& platform, std::ostream& err) {
  try {
    {
      ProgramState state;
      Form_Load(platform, state);
    }
    platform.Events().Exit(kExitOk);
    return kExitOk;
  } catch (const HeadlessTimeout& e) {
    err << kProgramName << ": " << e.what() << '\n';
    try {
      platform.Events().Exit(kExitHeadlessTimeout);
    } catch (const std::exception&) {
    }
    return kExitHeadlessTimeout;
  } catch (const std::bad_alloc&) {
    return ReportRunTimeError(platform, "Laufzeitfehler 7: Nicht genügend Speicher", err);
  } catch (const std::exception& e) {
    return ReportRunTimeError(platform, e.what(), err);
  }
}

}  // namespace

int RunProgram(const std::vector<std::string>& args, std::string_view version, std::ostream& out,
               std::ostream& err) {
  const auto parsed = ParseCommandLine(args);
  if (const auto* error = std::get_if<CommandLineError>(&parsed)) {
    err << kProgramName << ": " << error->message << "\n\n" << UsageText();
    return kExitUsage;
  }
  const CommandLine& line = std::get<CommandLine>(parsed);
  if (line.mode == CommandLine::Mode::kHelp) {
    out << UsageText();
    return kExitOk;
  }
  if (line.mode == CommandLine::Mode::kVersion) {
    out << kProgramName << ' ' << version << '\n';
    return kExitOk;
  }

  std::unique_ptr<Platform> platform;
  try {
    platform = MakePlatform(line);
    OpenEventLog(*platform, line.events_file);
  } catch (const StartFailure& failure) {
    err << kProgramName << ": " << failure.message << '\n';
    return failure.status;
  }
  return Run(*platform, err);
}

}  // namespace mw
