#include "platform/platform.h"

#include "platform/os/environment.h"

namespace mw {

std::string Platform::EnvironmentVariable(const std::string& name) {
  return ReadEnvironment(name).value_or(std::string());
}

bool Platform::FolderIsWritable(const std::string& folder) {
  return mw::FolderIsWritable(folder);
}

FileReadResult Platform::ReadFile(const std::string& path, std::size_t max_bytes) {
  return ReadFilePrefix(path, max_bytes);
}

std::string Platform::ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  return ReplaceFileDurably(path, bytes);
}

}  // namespace mw
