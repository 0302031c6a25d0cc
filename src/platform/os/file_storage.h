#pragma once
// Plain file operations: reading a bounded prefix, replacing a file so that a
// crash at any instant leaves the old or the new contents, never a mixture,
// writing a file only where none exists, making folders, and the streams of
// logs and recordings. Paths are UTF-8 on every system; on Windows '\' and
// '/' both separate folders. Reasons for failures are short German texts
// (UTF-8) for the player.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace mw {

struct FileReadResult {
  enum class Status { kRead, kMissing, kFailed };
  Status status = Status::kMissing;
  std::vector<std::uint8_t> bytes;  // at most max_bytes
  std::string reason;               // when kFailed
};

// Reads at most max_bytes from the start of the file. A file that does not
// exist (or whose folder does not) is kMissing; one that exists but cannot be
// read, or is not a normal file, is kFailed.
FileReadResult ReadFilePrefix(const std::string& path, std::size_t max_bytes);

// Writes bytes to a new file beside path, flushes it to the disk and renames
// it over path; a link at path is followed, so the linked file is replaced.
// An existing file keeps its permissions (on Windows: its hidden and system
// marks; a read-only file is refused). Returns the reason when it failed (the
// old file is then untouched), or an empty string.
std::string ReplaceFileDurably(const std::string& path, std::span<const std::uint8_t> bytes);

struct NewFileResult {
  enum class Status { kWritten, kExists, kFailed };
  Status status = Status::kFailed;
  std::string reason;  // when kFailed
};

// Writes bytes to path only if nothing is there yet, so an older file of the
// same name is never overwritten. A file begun but not finished is removed.
NewFileResult WriteNewFile(const std::string& path, std::span<const std::uint8_t> bytes);

// Makes the folder and the folders above it that are missing. Returns the
// reason when it failed, or an empty string.
std::string CreateFolders(const std::string& path);

// True when new files can be made in the folder.
bool FolderIsWritable(const std::string& folder);

// Opens a file for writing from its start (made, or emptied), for the logs
// and recordings written while the program runs. nullptr with the reason set
// when it cannot.
std::FILE* OpenStreamForWriting(const std::string& path, std::string& reason);

// Writes what the stream holds through to the disk. Returns the reason when
// that failed, or an empty string; a pipe or a terminal needs no sync.
std::string SyncStreamToDisk(std::FILE* stream);

// A German text for an errno value, as the C library sets it on any system.
std::string FileErrorReason(int error_number);

}  // namespace mw
