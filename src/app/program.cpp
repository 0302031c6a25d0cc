#include "app/program.h"

#include <memory>
#include <optional>

#include "app/command_line.h"
#include "app/program_loop.h"
#include "app/run_files.h"
#include "errors/runtime_error.h"
#include "input/recorder.h"
#include "input/replayer.h"
#include "platform/headless/headless_platform.h"
#include "platform/os/file_storage.h"
#include "platform/sdl/sdl_platform.h"

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
  EventLog events;
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
    // Checked whole before anything is written: the log is kept in memory.
    run.platform->StartReplay(&*run.replayer, !line.no_window);
    run.events.KeepInMemory(!line.events_file.empty());
  } else if (!line.events_file.empty()) {
    try {
      WriteEventLogTo(run.events, run.events_file, line.events_file);
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

// Runs the program's loop to its end.
RunEnd Run(Platform& platform, EventLog& events, std::ostream& err) {
  ProgramLoop loop(platform, events, err);
  loop.Start();
  while (loop.Pass()) {
  }
  return loop.End();
}

// A replay writes its log and pictures only once it has gone through whole.
int FinishReplay(const CommandLine& line, RunSetup& run, const RunEnd& outcome) {
  if (!outcome.stopped_watching) {
    if (const std::optional<std::string> problem = run.replayer->Finish(outcome.status)) {
      throw StartFailure{kExitUsage, *problem};
    }
  }
  if (!line.events_file.empty()) {
    const std::string& text = run.events.Text();
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
    const RunEnd outcome = Run(*run.platform, run.events, err);
    // A recording that does not fit the program: its own status, nothing written.
    if (!outcome.replay_problem.empty()) throw StartFailure{kExitUsage, outcome.replay_problem};
    if (run.recorder) run.recorder->Finish(outcome.status);
    if (!run.replayer) return outcome.status;
    return FinishReplay(line, run, outcome);
  } catch (const StartFailure& failure) {
    err << kProgramName << ": " << failure.message << '\n';
    return failure.status;
  } catch (const std::exception& e) {
    err << kProgramName << ": " << e.what() << '\n';
    return kExitRuntimeError;
  }
}

}  // namespace mw
