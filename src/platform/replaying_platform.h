#pragma once
// Replays a recorded run around any platform: the input frames and every
// answer from outside come from the recording, in the order they were asked
// for; the platform inside is asked only for the display and the sound. A
// replay never touches the player's files. Watched in a window, it keeps the
// recorded pace, and Escape or a close request ends the watching.

#include <cstdint>

#include "input/replayer.h"
#include "platform/forwarding_platform.h"

namespace mw {

class ReplayingPlatform final : public ForwardingPlatform {
 public:
  // The replayer must outlive the platform's use.
  ReplayingPlatform(Platform& inner, Replayer& replayer, bool paced)
      : ForwardingPlatform(inner), replayer_(replayer), paced_(paced) {}

  InputSample ReadInput() override;
  bool OpenSoundDevice() override;
  bool MessageBoxInWindow(std::string_view title, std::string_view text) override;
  std::string ProgramFolder() override;
  std::string UserDataFolder() override;
  std::string EnvironmentVariable(const std::string& name) override;
  bool FolderIsWritable(const std::string& folder) override;
  FileReadResult ReadFile(const std::string& path, std::size_t max_bytes) override;
  std::string ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) override;
  std::optional<std::string> ReplayMismatch() const override { return replayer_.Mismatch(); }

 private:
  Replayer& replayer_;
  bool paced_;
  bool pace_anchored_ = false;
  std::int64_t live_anchor_ = 0;
  std::int64_t recorded_anchor_ = 0;
};

}  // namespace mw
