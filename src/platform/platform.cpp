#include "platform/platform.h"

#include "input/recorder.h"
#include "input/replayer.h"
#include "platform/os/environment.h"

namespace mw {
namespace {

using Kind = RecordedAnswer::Kind;

}  // namespace

InputSample Platform::ReadInput() {
  if (replayer_ != nullptr) return ReplayedSample();
  InputSample sample = SampleInput();
  if (recorder_ != nullptr && sample.status == InputSample::Status::kFrame) {
    recorder_->Frame(sample.frame);
  }
  return sample;
}

// The recorded frames, at the recorded pace when watched: a frame is due when
// as much real time has passed since the first one as had in the recorded
// run. Escape or a close request ends the watching.
InputSample Platform::ReplayedSample() {
  if (replay_paced_) {
    const InputSample live = SampleInput();
    if (live.frame.close_requested || live.frame.Down(vk::kEscape)) {
      return {InputSample::Status::kStoppedWatching, {}, {}};
    }
    if (const std::optional<std::int64_t> recorded = replayer_->NextFrameClock()) {
      if (!pace_anchored_) {
        pace_anchored_ = true;
        live_anchor_ = live.frame.clock;
        recorded_anchor_ = *recorded;
      }
      if (live.frame.clock - live_anchor_ < *recorded - recorded_anchor_) {
        return {InputSample::Status::kNotYet, {}, {}};
      }
    }
  }
  return replayer_->NextFrame([this](const std::string& name) { RequestShot(name); });
}

std::optional<std::string> Platform::ReplayMismatch() const {
  return replayer_ != nullptr ? replayer_->Mismatch() : std::nullopt;
}

bool Platform::OpenSoundDevice() {
  if (replayer_ != nullptr) {
    const bool opened = replayer_->NextAnswer(Kind::kSoundDevice, "").value != 0;
    // Heard while watching where the machine has sound; the run goes as recorded.
    if (opened) static_cast<void>(OpenSoundDeviceNow());
    return opened;
  }
  const bool opened = OpenSoundDeviceNow();
  if (recorder_ != nullptr) recorder_->Answer({Kind::kSoundDevice, "", opened ? 1u : 0u, {}, {}});
  return opened;
}

bool Platform::MessageBoxInWindow(std::string_view title, std::string_view text) {
  const std::string subject(title);
  // A replay shows the box only where the recorded player confirmed it in
  // the window; a box confirmed at once then does not stop the watching.
  if (replayer_ != nullptr) return replayer_->NextAnswer(Kind::kMessageBox, subject).value != 0;
  const bool in_window = !ShowMessageBoxNow(title, text);
  if (recorder_ != nullptr) {
    recorder_->Answer({Kind::kMessageBox, subject, in_window ? 1u : 0u, {}, {}});
  }
  return in_window;
}

std::string Platform::ProgramFolder() {
  if (replayer_ != nullptr) return replayer_->NextAnswer(Kind::kProgramFolder, "").text;
  std::string folder = ProgramFolderNow();
  if (recorder_ != nullptr) recorder_->Answer({Kind::kProgramFolder, "", 0, folder, {}});
  return folder;
}

std::string Platform::UserDataFolder() {
  if (replayer_ != nullptr) return replayer_->NextAnswer(Kind::kUserDataFolder, "").text;
  std::string folder = UserDataFolderNow();
  if (recorder_ != nullptr) recorder_->Answer({Kind::kUserDataFolder, "", 0, folder, {}});
  return folder;
}

std::string Platform::EnvironmentVariable(const std::string& name) {
  if (replayer_ != nullptr) return replayer_->NextAnswer(Kind::kEnvironment, name).text;
  std::string text = EnvironmentVariableNow(name).value_or(std::string());
  if (recorder_ != nullptr) recorder_->Answer({Kind::kEnvironment, name, 0, text, {}});
  return text;
}

bool Platform::FolderIsWritable(const std::string& folder) {
  if (replayer_ != nullptr) {
    return replayer_->NextAnswer(Kind::kFolderWritable, folder).value != 0;
  }
  const bool writable = mw::FolderIsWritable(folder);
  if (recorder_ != nullptr) {
    recorder_->Answer({Kind::kFolderWritable, folder, writable ? 1u : 0u, {}, {}});
  }
  return writable;
}

FileReadResult Platform::ReadFile(const std::string& path, std::size_t max_bytes) {
  if (replayer_ != nullptr) {
    RecordedAnswer answer = replayer_->NextAnswer(Kind::kFileRead, path);
    FileReadResult read;
    read.status = answer.value == 0   ? FileReadResult::Status::kRead
                  : answer.value == 1 ? FileReadResult::Status::kMissing
                                      : FileReadResult::Status::kFailed;
    read.bytes = std::move(answer.bytes);
    if (read.bytes.size() > max_bytes) read.bytes.resize(max_bytes);
    read.reason = std::move(answer.text);
    return read;
  }
  FileReadResult read = ReadFilePrefix(path, max_bytes);
  if (recorder_ != nullptr) {
    recorder_->Answer(
        {Kind::kFileRead, path, static_cast<std::uint64_t>(read.status), read.reason, read.bytes});
  }
  return read;
}

std::string Platform::ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  // A replay never touches the player's files: the save goes nowhere and
  // turns out as it did then.
  if (replayer_ != nullptr) return replayer_->NextAnswer(Kind::kFileReplace, path).text;
  std::string reason = ReplaceFileDurably(path, bytes);
  if (reason.empty()) FileReplaced(path);
  if (recorder_ != nullptr) recorder_->Answer({Kind::kFileReplace, path, 0, reason, {}});
  return reason;
}

std::optional<std::string> Platform::EnvironmentVariableNow(const std::string& name) {
  return ReadEnvironment(name);
}

void Platform::NoteShotRequest(const std::string& name) {
  if (recorder_ != nullptr) recorder_->Shot(name);
}

}  // namespace mw
