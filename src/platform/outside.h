#pragma once
// The questions a screen's step may ask outside the program: folders, the
// environment, files, the sound device. Their answers can change a run's
// course, so the platform records them with the input, and a replay gives
// them back from the recording without asking the machine.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/os/file_storage.h"

namespace mw {

class Outside {
 public:
  virtual ~Outside() = default;

  // The folder that holds the program file, ending in a separator.
  virtual std::string ProgramFolder() = 0;
  // The per-user data folder for this game (made if needed), ending in a
  // separator; empty when there is none.
  virtual std::string UserDataFolder() = 0;
  // The value of an environment variable; empty when it is not set.
  virtual std::string EnvironmentVariable(const std::string& name) = 0;
  // True when new files can be made in the folder.
  virtual bool FolderIsWritable(const std::string& folder) = 0;
  // At most max_bytes from the start of the file (see ReadFilePrefix).
  virtual FileReadResult ReadFile(const std::string& path, std::size_t max_bytes) = 0;
  // Replaces the file so that a crash leaves the old or the new contents; the
  // reason when it failed, else empty (see ReplaceFileDurably).
  virtual std::string ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) = 0;
  // Opens the default sound device; false when there is none.
  virtual bool OpenSoundDevice() = 0;
};

}  // namespace mw
