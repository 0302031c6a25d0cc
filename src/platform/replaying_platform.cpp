#include "platform/replaying_platform.h"

namespace mw {
namespace {

using Kind = RecordedAnswer::Kind;

}  // namespace

// The recorded frames, at the recorded pace when watched: a frame is due when
// as much real time has passed since the first one as had in the recorded
// run. What the viewer asks beside the game (F12, Alt+Enter) is done.
InputSample ReplayingPlatform::ReadInput() {
  SampleRequests live_requests;
  if (paced_) {
    InputSample live = inner_.ReadInput();
    if (live.frame.close_requested || live.frame.Down(vk::kEscape)) {
      return {InputSample::Status::kStoppedWatching, {}, {}, {}};
    }
    live_requests = std::move(live.requests);
    if (const std::optional<std::int64_t> recorded = replayer_.NextFrameClock()) {
      if (!pace_anchored_) {
        pace_anchored_ = true;
        live_anchor_ = live.frame.clock;
        recorded_anchor_ = *recorded;
      }
      if (live.frame.clock - live_anchor_ < *recorded - recorded_anchor_) {
        InputSample not_yet{InputSample::Status::kNotYet, {}, {}, {}};
        not_yet.requests = std::move(live_requests);
        return not_yet;
      }
    }
  }
  std::vector<std::string> shots;
  InputSample sample =
      replayer_.NextFrame([&shots](const std::string& name) { shots.push_back(name); });
  sample.requests = std::move(live_requests);
  sample.requests.shots = std::move(shots);
  return sample;
}

bool ReplayingPlatform::OpenSoundDevice() {
  const bool opened = replayer_.NextAnswer(Kind::kSoundDevice, "").value != 0;
  // Heard while watching where the machine has sound; the run goes as recorded.
  if (opened) static_cast<void>(inner_.OpenSoundDevice());
  return opened;
}

// The box is shown only where the recorded player confirmed it in the
// window; a box confirmed at once then does not stop the watching.
bool ReplayingPlatform::MessageBoxInWindow(std::string_view title, std::string_view) {
  return replayer_.NextAnswer(Kind::kMessageBox, std::string(title)).value != 0;
}

std::string ReplayingPlatform::ProgramFolder() {
  return replayer_.NextAnswer(Kind::kProgramFolder, "").text;
}

std::string ReplayingPlatform::UserDataFolder() {
  return replayer_.NextAnswer(Kind::kUserDataFolder, "").text;
}

std::string ReplayingPlatform::EnvironmentVariable(const std::string& name) {
  return replayer_.NextAnswer(Kind::kEnvironment, name).text;
}

bool ReplayingPlatform::FolderIsWritable(const std::string& folder) {
  return replayer_.NextAnswer(Kind::kFolderWritable, folder).value != 0;
}

FileReadResult ReplayingPlatform::ReadFile(const std::string& path, std::size_t max_bytes) {
  RecordedAnswer answer = replayer_.NextAnswer(Kind::kFileRead, path);
  FileReadResult read;
  read.status = answer.value == 0   ? FileReadResult::Status::kRead
                : answer.value == 1 ? FileReadResult::Status::kMissing
                                    : FileReadResult::Status::kFailed;
  read.bytes = std::move(answer.bytes);
  if (read.bytes.size() > max_bytes) read.bytes.resize(max_bytes);
  read.reason = std::move(answer.text);
  return read;
}

// The save goes nowhere and turns out as it did then.
std::string ReplayingPlatform::ReplaceFile(const std::string& path, std::span<const std::uint8_t>) {
  return replayer_.NextAnswer(Kind::kFileReplace, path).text;
}

}  // namespace mw
