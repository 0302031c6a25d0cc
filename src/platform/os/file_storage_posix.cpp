#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>

#include "platform/os/file_storage.h"
#include "platform/os/file_storage_common.h"

namespace mw {
namespace {

// Closes on every way out of a function.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int Get() const { return fd_; }
  // Closes now and reports the error of close (0 when fine).
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The file a save must replace: the target of a link, so that a player's link
// to a shared table stays a link.
std::string ResolveLink(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                       &std::free);
  return resolved ? std::string(resolved.get()) : path;
}

int WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes = bytes.subspan(static_cast<std::size_t>(written));
  }
  return 0;
}

// A new file beside target that no one else uses; -1 with errno set when none
// can be made.
int CreateTemporaryBeside(const std::string& target, std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = target + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

FileReadResult ReadFilePrefix(const std::string& path, std::size_t max_bytes) {
  // Non-blocking so that a pipe in the file's place cannot hang the game.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.Get() < 0) {
    if (errno == ENOENT) return {};
    return {FileReadResult::Status::kFailed, {}, FileErrorReason(errno)};
  }
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0) {
    return {FileReadResult::Status::kFailed, {}, FileErrorReason(errno)};
  }
  if (!S_ISREG(info.st_mode)) {
    return {FileReadResult::Status::kFailed, {}, file_reason::kNotAPlainFile};
  }
  const auto size = static_cast<std::uint64_t>(std::max<off_t>(info.st_size, 0));
  return ReadBoundedPrefix(size, max_bytes, [&fd](std::span<std::uint8_t> room) {
    while (true) {
      const ssize_t got = ::read(fd.Get(), room.data(), room.size());
      if (got >= 0) return ChunkRead{static_cast<std::size_t>(got), {}};
      if (errno != EINTR) return ChunkRead{0, FileErrorReason(errno)};
    }
  });
}

std::string ReplaceFileDurably(const std::string& path, std::span<const std::uint8_t> bytes) {
  const std::string target = ResolveLink(path);
  struct stat old_info {};
  const bool has_old = ::stat(target.c_str(), &old_info) == 0;
  if (has_old && !S_ISREG(old_info.st_mode)) return file_reason::kNotAPlainFile;

  std::string temporary;
  FileDescriptor fd(CreateTemporaryBeside(target, temporary));
  if (fd.Get() < 0) return FileErrorReason(errno);

  int error = 0;
  if (has_old && ::fchmod(fd.Get(), old_info.st_mode & 07777) != 0) error = errno;
  if (error == 0) error = WriteAll(fd.Get(), bytes);
  if (error == 0 && ::fsync(fd.Get()) != 0) error = errno;
  const int close_error = fd.Close();
  if (error == 0) error = close_error;
  if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    return FileErrorReason(error);
  }
  // The rename itself reaches the disk with the folder; if that flush fails the
  // new name is still in place, so the save counts as done.
  FileDescriptor folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.Get() >= 0) ::fsync(folder.Get());
  return {};
}

NewFileResult WriteNewFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (fd.Get() < 0) {
    if (errno == EEXIST) return {NewFileResult::Status::kExists, {}};
    return {NewFileResult::Status::kFailed, FileErrorReason(errno)};
  }
  int error = WriteAll(fd.Get(), bytes);
  const int close_error = fd.Close();
  if (error == 0) error = close_error;
  if (error != 0) {
    ::unlink(path.c_str());
    return {NewFileResult::Status::kFailed, FileErrorReason(error)};
  }
  return {NewFileResult::Status::kWritten, {}};
}

namespace {

// Why a folder could not be made at a place whose parent is there: "does not
// exist" would only puzzle the player who asked for it to be made.
std::string CannotMakeFolder(const std::string& folder, int error_number) {
  if (error_number != ENOENT) return FileErrorReason(error_number);
  for (std::size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
    const std::string part = folder.substr(0, end);
    struct stat link {};
    struct stat target {};
    if (::lstat(part.c_str(), &link) == 0 && S_ISLNK(link.st_mode) &&
        ::stat(part.c_str(), &target) != 0) {
      return "Eine Verknüpfung im Pfad zeigt ins Leere";
    }
    if (end == std::string::npos) break;
  }
  return "Das Dateisystem lässt dort keinen Ordner anlegen";
}

}  // namespace

std::string CreateFolders(const std::string& path) {
  std::string prefix;
  std::size_t at = 0;
  while (at <= path.size()) {
    const std::size_t slash = path.find('/', at);
    const std::size_t end = slash == std::string::npos ? path.size() : slash;
    prefix = path.substr(0, end);
    at = end + 1;
    if (prefix.empty() || prefix == "." || prefix == "..") continue;
    if (::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) {
      return CannotMakeFolder(prefix, errno);
    }
  }
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return CannotMakeFolder(path, errno);
  if (!S_ISDIR(info.st_mode)) return FileErrorReason(ENOTDIR);
  return {};
}

bool FolderIsWritable(const std::string& folder) {
  return !folder.empty() && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::FILE* OpenStreamForWriting(const std::string& path, std::string& reason) {
  std::FILE* stream = std::fopen(path.c_str(), "wb");
  if (stream == nullptr) reason = FileErrorReason(errno);
  return stream;
}

std::string SyncStreamToDisk(std::FILE* stream) {
  if (std::fflush(stream) != 0) return FileErrorReason(errno);
  if (::fsync(::fileno(stream)) != 0 && errno != EINVAL && errno != EROFS) {
    return FileErrorReason(errno);
  }
  return {};
}

}  // namespace mw
