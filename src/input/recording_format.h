#pragma once
// The bytes of a recorded run: everything that decided its course, so that a
// replay repeats it exactly. Pure code, without files, so that any bytes can be
// fed to the reader.
//
// A recording is the magic word "MWREC", a version byte (2), then records,
// each a tag byte and its fields; numbers are unsigned LEB128 varints, signed
// ones zigzag-encoded first:
//   'I' input frame: clock delta, flags (1 mouse moved, 2 keys, 4 typed,
//       8 close requested, 16 display lost), [dx dy], [count, count x (key
//       byte, presses * 2 + down)], [length, Windows-1252 bytes]. Keys not
//       listed kept their held state and were not pressed.
//   'P' picture asked for: length, name.
//   'A' answer from outside: kind byte, length, subject (path or name),
//       value, length, text, length, bytes.
//   'E' end: exit status, CRC-32 of every byte before the CRC (4 bytes,
//       little-endian). Nothing may follow it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "input/input_frame.h"

namespace mw {

// Raised whenever the same recorded answers and input would make the program
// run differently; an older recording is refused rather than replayed wrong.
constexpr std::uint8_t kRecordingVersion = 2;

// A recording that cannot be replayed; what() is a German sentence naming the
// file and the reason.
class RecordingError : public std::runtime_error {
 public:
  explicit RecordingError(const std::string& what) : std::runtime_error(what) {}
};

// What the run learned from outside the input: the answer of one question.
struct RecordedAnswer {
  enum class Kind : std::uint8_t {
    kProgramFolder = 1,
    kUserDataFolder = 2,
    kEnvironment = 3,     // subject: the variable; text: its value
    kFolderWritable = 4,  // subject: the folder; value: 0 or 1
    kFileRead = 5,        // subject: the path; value: the status; bytes; text: reason
    kFileReplace = 6,     // subject: the path; text: the reason it failed, or empty
    kSoundDevice = 7,     // value: 0 or 1
    // Asked each time a message box is shown. subject: its title; value: 0
    // confirmed at once without the player (no window to draw it in), 1 shown
    // in the game's window, where the following frames confirm it.
    kMessageBox = 8,
  };
  Kind kind = Kind::kProgramFolder;
  std::string subject;
  std::uint64_t value = 0;
  std::string text;
  std::vector<std::uint8_t> bytes;
  bool operator==(const RecordedAnswer&) const = default;
};

struct RecordedShot {
  std::string name;
  bool operator==(const RecordedShot&) const = default;
};

using RecordEntry = std::variant<InputFrame, RecordedShot, RecordedAnswer>;

// A whole recording read into memory (its entries decoded).
struct Recording {
  std::vector<RecordEntry> entries;
  int exit_status = 0;
};

// The frame that the next frame record changes. Only keys listed in a record
// can carry presses, so they are remembered: clearing them for the next frame
// then costs the keys pressed, not all of them.
struct FrameBeingRead {
  InputFrame frame;
  std::array<std::uint8_t, vk::kCount> pressed_keys{};
  std::size_t pressed_count = 0;
};

// A recording read one entry at a time from its bytes, which it keeps: they
// are compact, while a long game's frames decoded would take many times
// more. The whole recording is checked when it is made, so reading on
// cannot fail.
class RecordingReader {
 public:
  // Reads the whole recording once, keeping nothing of it decoded; throws
  // RecordingError naming file_name and what is wrong: empty, not a
  // recording, another version, cut short, or corrupt.
  RecordingReader(std::vector<std::uint8_t> bytes, std::string file_name);

  // The entry at hand, or null after the last one.
  const RecordEntry* Current() const { return records_left_ ? &current_ : nullptr; }
  // Goes on to the next entry.
  void Advance();
  // The clock of the frame at hand, or of the first one after the pictures
  // at hand; none when an answer or the end comes first.
  std::optional<std::int64_t> NextFrameClock() const;

  std::size_t EntryCount() const { return entry_count_; }
  int ExitStatus() const { return exit_status_; }
  const std::string& FileName() const { return file_name_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::string file_name_;
  std::size_t entry_count_ = 0;
  int exit_status_ = 0;
  std::size_t next_record_ = 0;  // the offset of the record after the one at hand
  bool records_left_ = true;
  FrameBeingRead last_frame_;
  RecordEntry current_;
};

// The first bytes of every recording.
std::string RecordingHeader();
// The record of `now`, written as its change from `before`.
void AppendFrameRecord(std::string& out, const InputFrame& before, const InputFrame& now);
void AppendShotRecord(std::string& out, const std::string& name);
void AppendAnswerRecord(std::string& out, const RecordedAnswer& answer);
// The end record; `crc` is RecordingCrc of every byte written before it, and
// the record's own tag and status are added to it.
void AppendEndRecord(std::string& out, int exit_status, std::uint32_t crc);

// CRC-32 (the zip polynomial), continued from `crc` (0 for the first part).
std::uint32_t RecordingCrc(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);

// Reads a whole recording into memory; throws RecordingError as
// RecordingReader does.
Recording ParseRecording(std::span<const std::uint8_t> bytes, const std::string& file_name);

// A short German name of what a record holds, with its article in the
// nominative ("ein Eingabeschritt"), for messages.
std::string DescribeEntry(const RecordEntry& entry);

}  // namespace mw
