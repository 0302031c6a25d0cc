#pragma once
// What the file code of every system shares: the German reasons the player
// reads, and the bounded read of a file's start.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "platform/os/file_storage.h"

namespace mw::file_reason {

inline constexpr char kFolderMissing[] = "Der Ordner existiert nicht";
inline constexpr char kAccessDenied[] = "Zugriff verweigert";
inline constexpr char kWriteProtected[] = "Der Datenträger ist schreibgeschützt";
inline constexpr char kDiskFull[] = "Der Datenträger ist voll";
inline constexpr char kPartIsNoFolder[] = "Ein Teil des Pfades ist kein Ordner";
inline constexpr char kIsAFolder[] = "Es ist ein Ordner";
inline constexpr char kNotAPlainFile[] = "Es ist keine normale Datei";
inline constexpr char kPathTooLong[] = "Der Pfad ist zu lang";
inline constexpr char kDeviceError[] = "Ein-/Ausgabefehler des Datenträgers";
inline constexpr char kTooManyOpenFiles[] = "Zu viele offene Dateien";

}  // namespace mw::file_reason

namespace mw {

// One read of the system: how many bytes arrived (0 at the end of the file),
// or why it failed.
struct ChunkRead {
  std::size_t count = 0;
  std::string failure;  // empty unless the read failed
};
using ReadChunk = std::function<ChunkRead(std::span<std::uint8_t> room)>;

// Reads at most max_bytes with read_chunk. The buffer is sized by what the
// file holds (size_hint), not by the limit: a generous limit must not cost
// that much memory, and time to clear it, for a small file. One byte more
// sees the end at once; a file that grows meanwhile grows the buffer.
FileReadResult ReadBoundedPrefix(std::uint64_t size_hint, std::size_t max_bytes,
                                 const ReadChunk& read_chunk);

// "Systemfehler N", with the system's own words for it when it has some.
std::string SystemErrorReason(long long code, const std::string& system_words);

}  // namespace mw
