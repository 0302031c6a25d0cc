#include "platform/os/file_storage_common.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace mw {

FileReadResult ReadBoundedPrefix(std::uint64_t size_hint, std::size_t max_bytes,
                                 const ReadChunk& read_chunk) {
  FileReadResult result;
  const std::uint64_t first = std::min<std::uint64_t>(max_bytes, size_hint + 1);
  result.bytes.resize(static_cast<std::size_t>(first));
  std::size_t filled = 0;
  while (filled < max_bytes) {
    if (filled == result.bytes.size()) {
      result.bytes.resize(std::min(max_bytes, std::max<std::size_t>(2 * filled, 4096)));
    }
    const ChunkRead got =
        read_chunk(std::span(result.bytes).subspan(filled, result.bytes.size() - filled));
    if (!got.failure.empty()) return {FileReadResult::Status::kFailed, {}, got.failure};
    if (got.count == 0) break;
    filled += got.count;
  }
  result.bytes.resize(filled);
  result.status = FileReadResult::Status::kRead;
  return result;
}

std::string SystemErrorReason(long long code, const std::string& system_words) {
  std::string reason = "Systemfehler " + std::to_string(code);
  if (!system_words.empty()) reason += " (" + system_words + ")";
  return reason;
}

std::string FileErrorReason(int error_number) {
  namespace reason = file_reason;
  switch (error_number) {
    case ENOENT:
      return reason::kFolderMissing;
    case EACCES:
    case EPERM:
      return reason::kAccessDenied;
    case EROFS:
      return reason::kWriteProtected;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return reason::kDiskFull;
    case ENOTDIR:
      return reason::kPartIsNoFolder;
    case EISDIR:
      return reason::kIsAFolder;
    case ENAMETOOLONG:
      return reason::kPathTooLong;
    case ELOOP:
      return "Zu viele verkettete Verknüpfungen";
    case EIO:
      return reason::kDeviceError;
    case EMFILE:
    case ENFILE:
      return reason::kTooManyOpenFiles;
    default:
      return SystemErrorReason(error_number, std::strerror(error_number));
  }
}

}  // namespace mw
