#pragma once
// Records a run around any platform: every input frame, the pictures a
// script asked for before it, and every answer from outside are written to
// the recorder as they pass.

#include "input/recorder.h"
#include "platform/forwarding_platform.h"

namespace mw {

class RecordingPlatform final : public ForwardingPlatform {
 public:
  // The recorder must outlive the platform's use.
  RecordingPlatform(Platform& inner, Recorder& recorder)
      : ForwardingPlatform(inner), recorder_(recorder) {}

  InputSample ReadInput() override;
  bool OpenSoundDevice() override;
  bool MessageBoxInWindow(std::string_view title, std::string_view text) override;
  std::string ProgramFolder() override;
  std::string UserDataFolder() override;
  std::string EnvironmentVariable(const std::string& name) override;
  bool FolderIsWritable(const std::string& folder) override;
  FileReadResult ReadFile(const std::string& path, std::size_t max_bytes) override;
  std::string ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) override;

 private:
  Recorder& recorder_;
};

}  // namespace mw
