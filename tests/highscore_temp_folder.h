#pragma once
// A fresh folder under the system's temporary folder for one test, removed
// with everything in it when the test ends.

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace mw {

class HighScoreTempFolder {
 public:
  explicit HighScoreTempFolder(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "_XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  HighScoreTempFolder(const HighScoreTempFolder&) = delete;
  HighScoreTempFolder& operator=(const HighScoreTempFolder&) = delete;
  ~HighScoreTempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace mw
