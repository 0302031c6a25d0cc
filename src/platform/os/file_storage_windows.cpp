#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string_view>

#include "platform/os/file_storage.h"
#include "platform/os/file_storage_common.h"
#include "platform/os/utf16_paths.h"

namespace mw {
namespace {

constexpr char kInvalidCharacters[] = "Der Pfad enthält ungültige Zeichen";
constexpr char kOpenElsewhere[] = "Die Datei ist von einem anderen Programm geöffnet";
// The temporary of a save and the probe of a folder get numbered names; a
// hundred leftovers of killed runs under this process id are not expected.
constexpr int kNameAttempts = 100;
// ReadFile and WriteFile take 32-bit counts.
constexpr std::size_t kLargestTransfer = std::size_t{1} << 30;

// Closes on every way out of a function.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (Valid()) CloseHandle(handle_);
  }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  // Closes now and reports the error of the close (0 when fine).
  DWORD Close() {
    const BOOL closed = CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return closed ? 0 : GetLastError();
  }

 private:
  HANDLE handle_;
};

// The system's own words for an error, in the language of the player's
// Windows, without the closing full stop.
std::string SystemWords(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  if (length == 0 || text == nullptr) return {};
  std::wstring words(text, length);
  LocalFree(text);
  while (!words.empty() && std::wstring_view(L"\r\n .").find(words.back()) != std::wstring::npos) {
    words.pop_back();
  }
  return Utf8FromWide(words).value_or(std::string());
}

std::string WindowsErrorReason(DWORD code) {
  namespace reason = file_reason;
  switch (code) {
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
      return reason::kFolderMissing;
    case ERROR_FILE_NOT_FOUND:
      return "Die Datei existiert nicht";
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return "Die Datei existiert bereits";
    case ERROR_ACCESS_DENIED:
    case ERROR_NETWORK_ACCESS_DENIED:
      return reason::kAccessDenied;
    case ERROR_WRITE_PROTECT:
      return reason::kWriteProtected;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return reason::kDiskFull;
    case ERROR_DIRECTORY:
      return reason::kPartIsNoFolder;
    case ERROR_FILENAME_EXCED_RANGE:
      return reason::kPathTooLong;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return kOpenElsewhere;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_NO_UNICODE_TRANSLATION:
      return kInvalidCharacters;
    case ERROR_NOT_READY:
      return "Das Laufwerk ist nicht bereit";
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return "Der Netzwerkpfad wurde nicht gefunden";
    case ERROR_TOO_MANY_OPEN_FILES:
      return reason::kTooManyOpenFiles;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
      return reason::kDeviceError;
    default:
      return SystemErrorReason(code, SystemWords(code));
  }
}

// Windows says "path not found" also where a part of the path is a file, or
// the path is longer than the system takes; the player hears which.
DWORD ExplainPathError(const std::wstring& path, DWORD code) {
  if (code != ERROR_PATH_NOT_FOUND && code != ERROR_FILE_NOT_FOUND) return code;
  std::wstring part = path;
  for (std::size_t cut = part.rfind(L'\\'); cut != std::wstring::npos && cut > 0;
       cut = part.rfind(L'\\')) {
    part.resize(cut);
    const DWORD attributes = GetFileAttributesW(part.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) continue;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return ERROR_DIRECTORY;
    break;
  }
  if (code == ERROR_PATH_NOT_FOUND && path.size() >= MAX_PATH) return ERROR_FILENAME_EXCED_RANGE;
  return code;
}

// The file a save must replace: the target of a link, so that a player's link
// to a shared table stays a link.
std::wstring ResolveLink(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    return path;
  }
  FileHandle file(CreateFileW(path.c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.Valid()) return path;
  std::wstring resolved(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    const DWORD length =
        GetFinalPathNameByHandleW(file.Get(), resolved.data(), static_cast<DWORD>(resolved.size()),
                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return path;
    if (length < resolved.size()) {
      resolved.resize(length);
      return resolved;
    }
    resolved.resize(length);  // the size it asks for, with room for the NUL
  }
  return path;
}

DWORD WriteAll(HANDLE file, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const auto ask = static_cast<DWORD>(std::min(bytes.size(), kLargestTransfer));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), ask, &written, nullptr)) return GetLastError();
    bytes = bytes.subspan(written);
  }
  return 0;
}

// A new file beside target that no one else uses, with the given marks;
// invalid with the last error set when none can be made.
HANDLE CreateTemporaryBeside(const std::wstring& target, DWORD attributes, std::wstring& name) {
  const std::wstring stem = target + L".tmp" + std::to_wstring(GetCurrentProcessId()) + L"-";
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    name = stem + std::to_wstring(attempt);
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    const DWORD error = GetLastError();
    // A leftover of a killed save may be read-only or still being deleted.
    const bool taken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
                       (error == ERROR_ACCESS_DENIED &&
                        GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES);
    if (!taken) return INVALID_HANDLE_VALUE;
  }
  SetLastError(ERROR_FILE_EXISTS);
  return INVALID_HANDLE_VALUE;
}

// Where the first folder that can be made begins: after a drive ("C:\"), a
// network share ("\\server\share\") or the "\\?\" forms of both.
std::size_t RootLength(const std::wstring& path) {
  const auto after_parts = [&path](std::size_t at, int parts) {
    for (int i = 0; i < parts; ++i) {
      const std::size_t separator = path.find(L'\\', at);
      if (separator == std::wstring::npos) return path.size();
      at = separator + 1;
    }
    return at;
  };
  std::size_t at = 0;
  if (path.starts_with(L"\\\\?\\")) {
    at = 4;
    if (path.compare(at, 4, L"UNC\\") == 0) return after_parts(at + 4, 2);
  } else if (path.starts_with(L"\\\\")) {
    return after_parts(2, 2);
  }
  if (path.size() >= at + 2 && path[at + 1] == L':') at += 2;
  if (at < path.size() && path[at] == L'\\') ++at;
  return at;
}

}  // namespace

FileReadResult ReadFilePrefix(const std::string& path, std::size_t max_bytes) {
  const std::optional<std::wstring> wide = WidePath(path);
  if (!wide) return {FileReadResult::Status::kFailed, {}, kInvalidCharacters};
  // Shared every way, so a file another program has open still reads; backup
  // semantics let a folder open too, to be told apart below.
  FileHandle file(CreateFileW(wide->c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.Valid()) {
    const DWORD error = ExplainPathError(*wide, GetLastError());
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {};
    return {FileReadResult::Status::kFailed, {}, WindowsErrorReason(error)};
  }
  // A pipe or a device in the file's place could block or never end.
  if (GetFileType(file.Get()) != FILE_TYPE_DISK) {
    return {FileReadResult::Status::kFailed, {}, file_reason::kNotAPlainFile};
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file.Get(), &info)) {
    return {FileReadResult::Status::kFailed, {}, WindowsErrorReason(GetLastError())};
  }
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return {FileReadResult::Status::kFailed, {}, file_reason::kNotAPlainFile};
  }
  const std::uint64_t size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  return ReadBoundedPrefix(size, max_bytes, [&file](std::span<std::uint8_t> room) {
    const auto ask = static_cast<DWORD>(std::min(room.size(), kLargestTransfer));
    DWORD got = 0;
    if (!ReadFile(file.Get(), room.data(), ask, &got, nullptr)) {
      return ChunkRead{0, WindowsErrorReason(GetLastError())};
    }
    return ChunkRead{got, {}};
  });
}

std::string ReplaceFileDurably(const std::string& path, std::span<const std::uint8_t> bytes) {
  const std::optional<std::wstring> wide = WidePath(path);
  if (!wide) return kInvalidCharacters;
  const std::wstring target = ResolveLink(*wide);
  const DWORD old_attributes = GetFileAttributesW(target.c_str());
  const bool has_old = old_attributes != INVALID_FILE_ATTRIBUTES;
  if (has_old && (old_attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return file_reason::kNotAPlainFile;
  }
  // Read-only is the player's (or the administrator's) word; clearing it
  // would overrule them.
  if (has_old && (old_attributes & FILE_ATTRIBUTE_READONLY) != 0) return file_reason::kAccessDenied;
  const DWORD kept_marks = has_old
                               ? old_attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                                   FILE_ATTRIBUTE_NOT_CONTENT_INDEXED)
                               : 0;

  std::wstring temporary;
  FileHandle file(CreateTemporaryBeside(target, kept_marks, temporary));
  if (!file.Valid()) return WindowsErrorReason(ExplainPathError(target, GetLastError()));
  DWORD error = WriteAll(file.Get(), bytes);
  if (error == 0 && !FlushFileBuffers(file.Get())) error = GetLastError();
  const DWORD close_error = file.Close();
  if (error == 0) error = close_error;
  // The rename is atomic on the same volume; write-through returns only once
  // it is on the disk.
  if (error == 0 && !MoveFileExW(temporary.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
  if (error != 0) {
    DeleteFileW(temporary.c_str());
    return WindowsErrorReason(error);
  }
  return {};
}

NewFileResult WriteNewFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  const std::optional<std::wstring> wide = WidePath(path);
  if (!wide) return {NewFileResult::Status::kFailed, kInvalidCharacters};
  FileHandle file(CreateFileW(wide->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
      return {NewFileResult::Status::kExists, {}};
    }
    return {NewFileResult::Status::kFailed, WindowsErrorReason(ExplainPathError(*wide, error))};
  }
  DWORD error = WriteAll(file.Get(), bytes);
  const DWORD close_error = file.Close();
  if (error == 0) error = close_error;
  if (error != 0) {
    DeleteFileW(wide->c_str());
    return {NewFileResult::Status::kFailed, WindowsErrorReason(error)};
  }
  return {NewFileResult::Status::kWritten, {}};
}

std::string CreateFolders(const std::string& path) {
  const std::optional<std::wstring> wide = WidePath(path);
  if (!wide) return kInvalidCharacters;
  std::size_t at = RootLength(*wide);
  while (at <= wide->size()) {
    std::size_t end = wide->find(L'\\', at);
    if (end == std::wstring::npos) end = wide->size();
    const std::wstring_view name = std::wstring_view(*wide).substr(at, end - at);
    const std::wstring prefix = wide->substr(0, end);
    at = end + 1;
    if (name.empty() || name == L"." || name == L"..") continue;
    if (CreateDirectoryW(prefix.c_str(), nullptr)) continue;
    const DWORD error = GetLastError();
    // An existing folder may answer "denied" instead of "exists" when its
    // parent is not ours, so what is there decides.
    const DWORD attributes = GetFileAttributesW(prefix.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      return WindowsErrorReason(ExplainPathError(prefix, error));
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return file_reason::kPartIsNoFolder;
  }
  const DWORD attributes = GetFileAttributesW(wide->c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return WindowsErrorReason(ExplainPathError(*wide, GetLastError()));
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return file_reason::kPartIsNoFolder;
  return {};
}

// Asked by making a file: access lists decide, and the read-only mark of a
// folder means nothing to Windows (C:\Program Files has none and still
// refuses a player's files).
bool FolderIsWritable(const std::string& folder) {
  const std::optional<std::wstring> wide = WidePath(folder);
  if (folder.empty() || !wide) return false;
  std::wstring stem = *wide;
  if (stem.back() != L'\\') stem += L'\\';
  stem += L"moewenschuss-probe-" + std::to_wstring(GetCurrentProcessId()) + L"-";
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::wstring name = stem + std::to_wstring(attempt) + L".tmp";
    // Deleted by the system when closed, also when the game dies meanwhile.
    const HANDLE probe = CreateFileW(
        name.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
      CloseHandle(probe);
      return true;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
  }
  return false;
}

std::FILE* OpenStreamForWriting(const std::string& path, std::string& reason) {
  const std::optional<std::wstring> wide = WidePath(path);
  if (!wide) {
    reason = kInvalidCharacters;
    return nullptr;
  }
  std::FILE* stream = _wfopen(wide->c_str(), L"wb");
  if (stream == nullptr) reason = FileErrorReason(errno);
  return stream;
}

std::string SyncStreamToDisk(std::FILE* stream) {
  if (std::fflush(stream) != 0) return FileErrorReason(errno);
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  if (handle == INVALID_HANDLE_VALUE || GetFileType(handle) != FILE_TYPE_DISK) return {};
  if (!FlushFileBuffers(handle)) return WindowsErrorReason(GetLastError());
  return {};
}

}  // namespace mw
