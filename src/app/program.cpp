#include "app/program.h"

#include <memory>
#include <new>
#include <optional>

#include "app/command_line.h"
#include "app/main_menu.h"
#include "app/program_state.h"
#include "app/run_files.h"
#include "errors/runtime_error.h"
#include "input/recorder.h"
#include "input/replayer.h"
#include "platform/headless/headless_platform.h"
#include "platform/os/file_storage.h"
#include "platform/sdl/sdl_platform.h"
#include "text/cp1252.h"

namespace mw {
namespace {

constexpr const char* kProgramName = "moewenschuss";

struct StartFailure {
  int status;
  std::string message;
};

// What a run needs beside the platform: the recording it writes or replays.
struct RunSetup {
  OutputFile events_file;
  OutputFile recording_file;
  std::optional<Replayer> replayer;
  std::unique_ptr<Recorder> recorder;
  std::unique_ptr<Platform> platform;
  HeadlessPlatform* headless = nullptr;  // the platform, when it is headless
};

void MakeShotsFolder(const std::string& folder) {
  if (folder.empty()) return;
  if (const std::string reason = CreateFolders(folder); !reason.empty()) {
    throw StartFailure{kExitUsage,
                       "Der Ordner „" + folder + "“ kann nicht angelegt werden: " + reason};
  }
}

std::unique_ptr<HeadlessPlatform> MakeHeadless(const CommandLine& line) {
  HeadlessOptions options;
  options.shots_dir = line.shots_dir;
  if (line.mode == CommandLine::Mode::kReplay) {
    // The recording decides when the run ends; nothing is written before it
    // has been replayed to its end.
    options.stop_after_script = false;
    options.keep_shots = true;
    return MakeHeadlessPlatform(Script{}, options);
  }
  options.sound_device = !line.no_sound_device;
  try {
    return MakeHeadlessPlatform(LoadScript(line.script_file), options);
  } catch (const ScriptError& e) {
    throw StartFailure{kExitUsage, e.what()};
  }
}

std::unique_ptr<Platform> MakeWindow(const CommandLine& line) {
  try {
    return MakeSdlPlatform(SdlOptions{line.windowed});
  } catch (const std::exception& e) {
    throw StartFailure{kExitRuntimeError, e.what()};
  }
}

void SetUp(const CommandLine& line, RunSetup& run, std::ostream& err) {
  const bool replay = line.mode == CommandLine::Mode::kReplay;
  if (replay) {
    // Checked whole before anything is opened or written.
    try {
      run.replayer.emplace(LoadRecording(line.replay_file));
    } catch (const RecordingError& e) {
      throw StartFailure{kExitUsage, e.what()};
    }
    run.replayer->paced = !line.no_window;
  }
  // A replay makes its folder only once it went through whole.
  if (!replay) MakeShotsFolder(line.shots_dir);
  if (line.mode == CommandLine::Mode::kHeadless || (replay && line.no_window)) {
    auto headless = MakeHeadless(line);
    run.headless = headless.get();
    run.platform = std::move(headless);
  } else {
    run.platform = MakeWindow(line);
  }
  if (replay) {
    run.platform->StartReplay(&*run.replayer);
    run.platform->Events().KeepInMemory(!line.events_file.empty());
  } else if (!line.events_file.empty()) {
    try {
      WriteEventLogTo(run.platform->Events(), run.events_file, line.events_file);
    } catch (const std::exception& e) {
      throw StartFailure{kExitUsage, e.what()};
    }
  }
  if (!line.record_file.empty()) {
    try {
      run.recorder = RecordInto(run.recording_file, line.record_file, err);
    } catch (const std::exception& e) {
      throw StartFailure{kExitUsage, e.what()};
    }
    run.platform->StartRecording(run.recorder.get());
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

// A recording that does not fit the program: its own status, nothing written.
struct ReplayMismatch {
  std::string message;
};

struct RunOutcome {
  int status = kExitOk;
  bool stopped_watching = false;  // a replay in a window ended early by the viewer
};

RunOutcome Run(Platform& platform, std::ostream& err) {
  try {
    {
      ProgramState state;
      // Read once: every visit of the high-score screen uses the same place.
      state.high_score_prefix = platform.EnvironmentVariable("OEDIR");
      RunMainMenu(platform, state);
    }
    platform.Events().Exit(kExitOk);
    return {kExitOk};
  } catch (const RecordingError& e) {
    throw ReplayMismatch{e.what()};
  } catch (const ReplayStopped&) {
    return {kExitOk, true};
  } catch (const HeadlessTimeout& e) {
    err << kProgramName << ": " << e.what() << '\n';
    try {
      platform.Events().Exit(kExitHeadlessTimeout);
    } catch (const std::exception&) {
    }
    return {kExitHeadlessTimeout};
  } catch (const std::bad_alloc&) {
    return {ReportRunTimeError(platform, "Laufzeitfehler 7: Nicht genügend Speicher", err)};
  } catch (const std::exception& e) {
    return {ReportRunTimeError(platform, e.what(), err)};
  }
}

// A replay writes its log and pictures only once it has gone through whole.
int FinishReplay(const CommandLine& line, RunSetup& run, const RunOutcome& outcome) {
  if (!outcome.stopped_watching) run.replayer->Finish(outcome.status);
  if (!line.events_file.empty()) {
    const std::string& text = run.platform->Events().Text();
    const std::string reason = ReplaceFileDurably(
        line.events_file, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    if (!reason.empty()) {
      throw StartFailure{kExitUsage, "Das Ereignisprotokoll „" + line.events_file +
                                         "“ kann nicht geschrieben werden: " + reason};
    }
  }
  if (run.headless != nullptr) {
    MakeShotsFolder(line.shots_dir);
    run.headless->WriteKeptShots();
  }
  return outcome.status;
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

  RunSetup run;
  try {
    SetUp(line, run, err);
    RunOutcome outcome;
    try {
      outcome = Run(*run.platform, err);
    } catch (const ReplayMismatch& mismatch) {
      throw StartFailure{kExitUsage, mismatch.message};
    }
    if (run.recorder) run.recorder->Finish(outcome.status);
    if (!run.replayer) return outcome.status;
    try {
      return FinishReplay(line, run, outcome);
    } catch (const RecordingError& e) {
      throw StartFailure{kExitUsage, e.what()};
    }
  } catch (const StartFailure& failure) {
    err << kProgramName << ": " << failure.message << '\n';
    return failure.status;
  } catch (const std::exception& e) {
    err << kProgramName << ": " << e.what() << '\n';
    return kExitRuntimeError;
  }
}

}  // namespace mw
