#include "platform/recording_platform.h"

namespace mw {
namespace {

using Kind = RecordedAnswer::Kind;

}  // namespace

InputSample RecordingPlatform::ReadInput() {
  InputSample sample = inner_.ReadInput();
  for (const std::string& name : sample.requests.shots) recorder_.Shot(name);
  if (sample.status == InputSample::Status::kFrame) recorder_.Frame(sample.frame);
  return sample;
}

bool RecordingPlatform::OpenSoundDevice() {
  const bool opened = inner_.OpenSoundDevice();
  recorder_.Answer({Kind::kSoundDevice, "", opened ? 1u : 0u, {}, {}});
  return opened;
}

bool RecordingPlatform::MessageBoxInWindow(std::string_view title, std::string_view text) {
  const bool in_window = inner_.MessageBoxInWindow(title, text);
  recorder_.Answer({Kind::kMessageBox, std::string(title), in_window ? 1u : 0u, {}, {}});
  return in_window;
}

std::string RecordingPlatform::ProgramFolder() {
  std::string folder = inner_.ProgramFolder();
  recorder_.Answer({Kind::kProgramFolder, "", 0, folder, {}});
  return folder;
}

std::string RecordingPlatform::UserDataFolder() {
  std::string folder = inner_.UserDataFolder();
  recorder_.Answer({Kind::kUserDataFolder, "", 0, folder, {}});
  return folder;
}

std::string RecordingPlatform::EnvironmentVariable(const std::string& name) {
  std::string text = inner_.EnvironmentVariable(name);
  recorder_.Answer({Kind::kEnvironment, name, 0, text, {}});
  return text;
}

bool RecordingPlatform::FolderIsWritable(const std::string& folder) {
  const bool writable = inner_.FolderIsWritable(folder);
  recorder_.Answer({Kind::kFolderWritable, folder, writable ? 1u : 0u, {}, {}});
  return writable;
}

FileReadResult RecordingPlatform::ReadFile(const std::string& path, std::size_t max_bytes) {
  FileReadResult read = inner_.ReadFile(path, max_bytes);
  recorder_.Answer(
      {Kind::kFileRead, path, static_cast<std::uint64_t>(read.status), read.reason, read.bytes});
  return read;
}

std::string RecordingPlatform::ReplaceFile(const std::string& path,
                                           std::span<const std::uint8_t> bytes) {
  std::string reason = inner_.ReplaceFile(path, bytes);
  recorder_.Answer({Kind::kFileReplace, path, 0, reason, {}});
  return reason;
}

}  // namespace mw
