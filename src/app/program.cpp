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
#include "platform/recording_platform.h"
#include "platform/replaying_platform.h"
#include "platform/window_platform.h"

namespace mw {
namespace {

constexpr const char* kProgramName = "moewenschuss";

// A failure of setting a run up or of finishing it: told on err, and the
// status the run ends with.
struct FailureWithStatus {
  int status;
  std::string message;
};

void MakeShotsFolder(const std::string& folder) {
  if (folder.empty()) return;
  if (const std::string reason = CreateFolders(folder); !reason.empty()) {
    throw FailureWithStatus{kExitUsage,
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
    throw FailureWithStatus{kExitUsage, e.what()};
  }
}

std::unique_ptr<Platform> MakeWindow(const CommandLine& line) {
  try {
    return MakeWindowPlatform(WindowOptions{line.windowed});
  } catch (const std::exception& e) {
    throw FailureWithStatus{kExitRuntimeError, e.what()};
  }
}

// Called in a catch block: tells the failure being handled on err, and gives
// the status it ends the run with. Anything else goes on up, as it came.
int TellFailure(std::ostream& err) {
  try {
    throw;
  } catch (const FailureWithStatus& failure) {
    err << kProgramName << ": " << failure.message << '\n';
    return failure.status;
  } catch (const std::exception& e) {
    err << kProgramName << ": " << e.what() << '\n';
    return kExitRuntimeError;
  }
}

}  // namespace

// What a run needs beside the platform: the files it writes, the recording it
// writes or replays, and the loop.
struct Program::Run {
  CommandLine line;
  OutputFile events_file;
  OutputFile recording_file;
  EventLog events;
  std::optional<Replayer> replayer;
  std::unique_ptr<Recorder> recorder;
  std::unique_ptr<Platform> machine;     // the window's platform, or the headless one
  HeadlessPlatform* headless = nullptr;  // the machine, when it is headless
  std::unique_ptr<Platform> wrapper;     // records or replays around the machine
  Platform* platform = nullptr;          // what the loop uses: the wrapper, else the machine
  std::unique_ptr<ProgramLoop> loop;
};

namespace {

void SetUp(const CommandLine& line, Program::Run& run, std::ostream& err) {
  const bool replay = line.mode == CommandLine::Mode::kReplay;
  if (replay) {
    // Checked whole before anything is opened or written.
    try {
      run.replayer.emplace(LoadRecording(line.replay_file));
    } catch (const RecordingError& e) {
      throw FailureWithStatus{kExitUsage, e.what()};
    }
  }
  // A replay makes its folder only once it went through whole.
  if (!replay) MakeShotsFolder(line.shots_dir);
  if (line.mode == CommandLine::Mode::kHeadless || (replay && line.no_window)) {
    auto headless = MakeHeadless(line);
    run.headless = headless.get();
    run.machine = std::move(headless);
  } else {
    run.machine = MakeWindow(line);
  }
  run.platform = run.machine.get();
  if (replay) {
    run.wrapper = std::make_unique<ReplayingPlatform>(*run.machine, *run.replayer, !line.no_window);
    run.platform = run.wrapper.get();
    // Checked whole before anything is written: the log is kept in memory.
    run.events.KeepInMemory(!line.events_file.empty());
  } else if (!line.events_file.empty()) {
    try {
      WriteEventLogTo(run.events, run.events_file, line.events_file);
    } catch (const std::exception& e) {
      throw FailureWithStatus{kExitUsage, e.what()};
    }
  }
  if (!line.record_file.empty()) {
    try {
      run.recorder = RecordInto(run.recording_file, line.record_file, err);
    } catch (const std::exception& e) {
      throw FailureWithStatus{kExitUsage, e.what()};
    }
    run.wrapper = std::make_unique<RecordingPlatform>(*run.machine, *run.recorder);
    run.platform = run.wrapper.get();
  }
}

// A replay writes its log and pictures only once it has gone through whole.
int FinishReplay(const CommandLine& line, Program::Run& run, const RunEnd& outcome) {
  if (!outcome.stopped_watching) {
    if (const std::optional<std::string> problem = run.replayer->Finish(outcome.status)) {
      throw FailureWithStatus{kExitUsage, *problem};
    }
  }
  if (!line.events_file.empty()) {
    const std::string& text = run.events.Text();
    const std::string reason = ReplaceFileDurably(
        line.events_file, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    if (!reason.empty()) {
      throw FailureWithStatus{kExitUsage, "Das Ereignisprotokoll „" + line.events_file +
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

Program::Program(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

Program::~Program() = default;

bool Program::Start(const std::vector<std::string>& args, std::string_view version) {
  const auto parsed = ParseCommandLine(args);
  if (const auto* error = std::get_if<CommandLineError>(&parsed)) {
    err_ << kProgramName << ": " << error->message << "\n\n" << UsageText();
    status_ = kExitUsage;
    return false;
  }
  const CommandLine& line = std::get<CommandLine>(parsed);
  if (line.mode == CommandLine::Mode::kHelp) {
    out_ << UsageText();
    return false;
  }
  if (line.mode == CommandLine::Mode::kVersion) {
    out_ << kProgramName << ' ' << version << '\n';
    return false;
  }
  run_ = std::make_unique<Run>();
  run_->line = line;
  try {
    SetUp(line, *run_, err_);
    run_->loop = std::make_unique<ProgramLoop>(*run_->platform, run_->events, err_);
    run_->loop->Start();
    return true;
  } catch (...) {
    status_ = TellFailure(err_);
  }
  run_.reset();
  return false;
}

bool Program::Frame() {
  if (!run_ || !run_->loop) return false;
  while (run_->loop->Pass()) {
    if (run_->loop->LastPassEnd() != PassEnd::kGoOn) return true;
  }
  return false;
}

int Program::Finish() {
  if (finished_ || !run_ || !run_->loop) {
    run_.reset();
    finished_ = true;
    return status_;
  }
  finished_ = true;
  Run& run = *run_;
  try {
    const RunEnd outcome = run.loop->End();
    // A recording that does not fit the program: its own status, nothing written.
    if (!outcome.replay_problem.empty())
      throw FailureWithStatus{kExitUsage, outcome.replay_problem};
    if (run.recorder) run.recorder->Finish(outcome.status);
    status_ = run.replayer ? FinishReplay(run.line, run, outcome) : outcome.status;
  } catch (...) {
    status_ = TellFailure(err_);
  }
  run_.reset();
  return status_;
}

int RunProgram(const std::vector<std::string>& args, std::string_view version, std::ostream& out,
               std::ostream& err) {
  Program program(out, err);
  if (program.Start(args, version)) {
    while (program.Frame()) {
    }
  }
  return program.Finish();
}

}  // namespace mw
