#include "platform/os/output_file.h"

#include <cerrno>

#include "platform/os/file_storage.h"

namespace mw {

std::string OutputFile::Open(const std::string& path, bool sync_every_second) {
  std::string reason;
  file_.reset(OpenStreamForWriting(path, reason));
  sync_every_second_ = sync_every_second;
  last_sync_ = std::chrono::steady_clock::now();
  return reason;
}

std::string OutputFile::Write(std::string_view bytes) {
  if (!file_) return "die Datei ist nicht offen";
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) != bytes.size()) {
    return FileErrorReason(errno);
  }
  if (sync_every_second_) {
    const auto now = std::chrono::steady_clock::now();
    if (now - last_sync_ >= std::chrono::seconds(1)) {
      last_sync_ = now;
      return SyncToDisk();
    }
  }
  return {};
}

std::string OutputFile::Flush() {
  if (!file_) return "die Datei ist nicht offen";
  return std::fflush(file_.get()) == 0 ? std::string() : FileErrorReason(errno);
}

std::string OutputFile::SyncToDisk() {
  if (!file_) return "die Datei ist nicht offen";
  return SyncStreamToDisk(file_.get());
}

}  // namespace mw
