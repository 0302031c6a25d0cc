#include "input/recording_format.h"

#include <array>
#include <charconv>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <string_view>
#include <utility>

namespace mw {
namespace {

constexpr std::string_view kMagic = "MWREC";
constexpr char kFrameTag = 'I';
constexpr char kShotTag = 'P';
constexpr char kAnswerTag = 'A';
constexpr char kEndTag = 'E';

constexpr std::uint8_t kMouseMoved = 1;
constexpr std::uint8_t kKeysChanged = 2;
constexpr std::uint8_t kTyped = 4;
constexpr std::uint8_t kCloseRequested = 8;
constexpr std::uint8_t kDisplayLost = 16;
constexpr std::uint8_t kKnownFlags = 31;

void PutVarint(std::string& out, std::uint64_t v) {
  while (v >= 0x80) {
    out += static_cast<char>((v & 0x7F) | 0x80);
    v >>= 7;
  }
  out += static_cast<char>(v);
}

std::uint64_t Zigzag(std::int64_t v) {
  return (static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63);
}

std::int64_t Unzigzag(std::uint64_t v) {
  return static_cast<std::int64_t>(v >> 1) ^ -static_cast<std::int64_t>(v & 1);
}

void PutText(std::string& out, std::string_view text) {
  PutVarint(out, text.size());
  out.append(text);
}

// Most keys are up and were not pressed, in this frame and the one before,
// and such a key is all zero bytes. Whole groups of them are passed over by
// comparing bytes; a group with anything else in it (a key in use, or padding
// bytes that are not zero) is looked at key by key.
constexpr std::size_t kKeyGroup = 32;
static_assert(vk::kCount % kKeyGroup == 0);
constexpr std::array<KeyState, kKeyGroup> kUntouchedKeys{};

bool GroupUntouched(const KeyState* first) {
  return std::memcmp(first, kUntouchedKeys.data(), sizeof(kUntouchedKeys)) == 0;
}

// Reads the fields of records; every failure is a RecordingError.
class Reader {
 public:
  Reader(std::span<const std::uint8_t> bytes, const std::string& file_name, std::size_t at = 0)
      : bytes_(bytes), file_name_(file_name), at_(at) {}

  bool AtEnd() const { return at_ == bytes_.size(); }
  std::size_t Offset() const { return at_; }

  [[noreturn]] void Fail(std::string_view reason) const { FailWith({reason}); }
  [[noreturn]] void Corrupt(std::string_view what) const {
    std::array<char, 24> offset{};
    const char* offset_end = std::to_chars(offset.data(), offset.data() + offset.size(), at_).ptr;
    FailWith({"sie ist beschädigt (", what, " bei Byte ",
              std::string_view(offset.data(), static_cast<std::size_t>(offset_end - offset.data())),
              ")"});
  }

  std::uint8_t Byte() {
    if (at_ >= bytes_.size()) Fail("sie ist unvollständig, sie endet mitten in einem Eintrag");
    return bytes_[at_++];
  }

  std::uint64_t Varint() {
    std::uint64_t v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      const std::uint8_t b = Byte();
      const std::uint64_t part = b & 0x7F;
      if (shift == 63 && part > 1) Corrupt("eine zu große Zahl");
      v |= part << shift;
      if ((b & 0x80) == 0) return v;
    }
    Corrupt("eine zu lange Zahl");
  }

  std::int64_t SignedVarint() { return Unzigzag(Varint()); }

  // The bytes stay in the recording; callers copy them where they keep them.
  std::string_view Text() {
    const std::uint64_t n = Varint();
    if (n > bytes_.size() - at_) Fail("sie ist unvollständig, sie endet mitten in einem Eintrag");
    const auto length = static_cast<std::size_t>(n);  // within the bytes, so within size_t
    const std::string_view text(reinterpret_cast<const char*>(bytes_.data() + at_), length);
    at_ += length;
    return text;
  }

  std::uint32_t Fixed32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(Byte()) << (8 * i);
    return v;
  }

 private:
  // The sentence is put together in one string: damaged files end here, and
  // reading many of them should not cost an allocation per piece.
  [[noreturn]] void FailWith(std::initializer_list<std::string_view> reason) const {
    constexpr std::string_view kStart = "Die Aufzeichnung „";
    constexpr std::string_view kMiddle = "“ kann nicht abgespielt werden: ";
    std::size_t size = kStart.size() + file_name_.size() + kMiddle.size() + 1;
    for (const std::string_view part : reason) size += part.size();
    std::string message;
    message.reserve(size);
    message.append(kStart).append(file_name_).append(kMiddle);
    for (const std::string_view part : reason) message.append(part);
    message += '.';
    throw RecordingError(message);
  }

  std::span<const std::uint8_t> bytes_;
  const std::string& file_name_;
  std::size_t at_ = 0;
};

// Key codes are one byte, so every code names a key.
static_assert(vk::kCount == 256);

// Reads a frame record into `state`, which then holds the frame it describes.
void ReadFrame(Reader& in, FrameBeingRead& state) {
  InputFrame& now = state.frame;
  for (std::size_t i = 0; i < state.pressed_count; ++i) now.keys[state.pressed_keys[i]].presses = 0;
  state.pressed_count = 0;
  const std::uint64_t delta = in.Varint();
  if (delta > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max() - now.clock)) {
    in.Corrupt("eine Uhrzeit außerhalb des Bereichs");
  }
  now.clock += static_cast<std::int64_t>(delta);
  const std::uint8_t flags = in.Byte();
  if ((flags & ~kKnownFlags) != 0) in.Corrupt("unbekannte Merkmale eines Eingabeschritts");
  if ((flags & kMouseMoved) != 0) {
    const std::int64_t dx = in.SignedVarint();
    const std::int64_t dy = in.SignedVarint();
    // Checked before adding, so no delta can overflow.
    if (dx < -639 || dx > 639 || dy < -479 || dy > 479) {
      in.Corrupt("eine Mausposition außerhalb des Bildes");
    }
    const std::int64_t x = now.mouse.x + dx;
    const std::int64_t y = now.mouse.y + dy;
    if (x < 0 || x > 639 || y < 0 || y > 479) in.Corrupt("eine Mausposition außerhalb des Bildes");
    now.mouse = {static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
  }
  if ((flags & kKeysChanged) != 0) {
    const std::uint64_t count = in.Varint();
    if (count == 0 || count > vk::kCount) in.Corrupt("eine falsche Zahl von Tasten");
    for (std::uint64_t i = 0; i < count; ++i) {
      const std::uint8_t code = in.Byte();
      const std::uint64_t state_bits = in.Varint();
      const std::uint64_t presses = state_bits >> 1;
      if (presses > std::numeric_limits<std::uint16_t>::max()) in.Corrupt("zu viele Tastendrücke");
      now.keys[code] = KeyState{(state_bits & 1) != 0, static_cast<std::uint16_t>(presses)};
      // One entry per key listed, and a record lists at most vk::kCount.
      if (presses != 0) state.pressed_keys[state.pressed_count++] = code;
    }
  }
  if ((flags & kTyped) != 0) {
    const std::string_view typed = in.Text();
    if (typed.empty()) in.Corrupt("eine leere Eingabe von Zeichen");
    now.typed.assign(typed);
  } else {
    now.typed.clear();
  }
  now.close_requested = (flags & kCloseRequested) != 0;
  now.display_lost = (flags & kDisplayLost) != 0;
}

// The fields of an answer record, still in the recording's bytes.
struct AnswerFields {
  RecordedAnswer::Kind kind = RecordedAnswer::Kind::kProgramFolder;
  std::string_view subject;
  std::uint64_t value = 0;
  std::string_view text;
  std::string_view bytes;

  RecordedAnswer Copy() const {
    return {kind, std::string(subject), value, std::string(text),
            std::vector<std::uint8_t>(bytes.begin(), bytes.end())};
  }
};

AnswerFields ReadAnswer(Reader& in) {
  AnswerFields answer;
  const std::uint8_t kind = in.Byte();
  if (kind < 1 || kind > 8) in.Corrupt("eine unbekannte Art von Antwort");
  answer.kind = static_cast<RecordedAnswer::Kind>(kind);
  answer.subject = in.Text();
  answer.value = in.Varint();
  // The replay waits for the player only when the box was shown in the
  // window; any other value would leave it guessing.
  if (answer.kind == RecordedAnswer::Kind::kMessageBox && answer.value > 1) {
    in.Corrupt("eine unmögliche Art, ein Meldungsfenster zu zeigen");
  }
  answer.text = in.Text();
  answer.bytes = in.Text();
  return answer;
}

enum class RecordKind : std::uint8_t { kFrame, kShot, kAnswer, kEnd };

// One record as read: a frame is in the FrameBeingRead, a picture's name and
// an answer's fields are still in the recording's bytes.
struct RecordRead {
  RecordKind kind = RecordKind::kEnd;
  std::string_view shot;
  AnswerFields answer;
  int exit_status = 0;
};

// Reads the next record. The end record's checksum is compared only when
// `check_sum` is set: once a recording was checked, reading on need not.
RecordRead ReadRecord(Reader& in, FrameBeingRead& last, std::span<const std::uint8_t> bytes,
                      bool check_sum) {
  if (in.AtEnd()) in.Fail("sie ist unvollständig, ihr Abschluss fehlt");
  RecordRead read;
  const char tag = static_cast<char>(in.Byte());
  if (tag == kFrameTag) {
    ReadFrame(in, last);
    read.kind = RecordKind::kFrame;
  } else if (tag == kShotTag) {
    read.kind = RecordKind::kShot;
    read.shot = in.Text();
  } else if (tag == kAnswerTag) {
    read.kind = RecordKind::kAnswer;
    read.answer = ReadAnswer(in);
  } else if (tag == kEndTag) {
    const std::int64_t status = in.SignedVarint();
    const std::size_t crc_start = in.Offset();
    const std::uint32_t crc = in.Fixed32();
    if (check_sum && crc != RecordingCrc(bytes.first(crc_start))) {
      in.Corrupt("eine falsche Prüfsumme");
    }
    if (status < 0 || status > 255) in.Corrupt("ein unmöglicher Endstatus");
    if (!in.AtEnd()) in.Corrupt("Daten nach dem Abschluss");
    read.exit_status = static_cast<int>(status);
  } else {
    in.Corrupt("ein unbekannter Eintrag");
  }
  return read;
}

// Reads the magic word and the version; throws when they are not ours.
void ReadHeader(Reader& in, std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) in.Fail("sie ist leer");
  if (bytes.size() < kMagic.size() ||
      std::string_view(reinterpret_cast<const char*>(bytes.data()), kMagic.size()) != kMagic) {
    in.Fail("sie ist keine Aufzeichnung von Möwenschuss");
  }
  for (std::size_t i = 0; i < kMagic.size(); ++i) in.Byte();
  const std::uint8_t version = in.Byte();
  // The program ran differently then, so its recordings would replay wrong.
  if (version >= 1 && version < kRecordingVersion) {
    in.Fail("sie wurde mit einer älteren Version des Spiels gemacht (Version " +
            std::to_string(version) + ")");
  }
  if (version != kRecordingVersion) {
    in.Fail("sie hat die Version " + std::to_string(version) + ", dieses Programm spielt Version " +
            std::to_string(kRecordingVersion) + " ab");
  }
}

std::string AnswerName(RecordedAnswer::Kind kind) {
  switch (kind) {
    case RecordedAnswer::Kind::kProgramFolder:
      return "der Programmordner";
    case RecordedAnswer::Kind::kUserDataFolder:
      return "der Benutzerdatenordner";
    case RecordedAnswer::Kind::kEnvironment:
      return "eine Umgebungsvariable";
    case RecordedAnswer::Kind::kFolderWritable:
      return "die Schreibbarkeit eines Ordners";
    case RecordedAnswer::Kind::kFileRead:
      return "das Lesen einer Datei";
    case RecordedAnswer::Kind::kFileReplace:
      return "das Schreiben einer Datei";
    case RecordedAnswer::Kind::kSoundDevice:
      return "das Audiogerät";
    case RecordedAnswer::Kind::kMessageBox:
      return "das Zeigen eines Meldungsfensters";
  }
  return "eine Antwort";
}

}  // namespace

std::string RecordingHeader() {
  std::string out(kMagic);
  out += static_cast<char>(kRecordingVersion);
  return out;
}

void AppendFrameRecord(std::string& out, const InputFrame& before, const InputFrame& now) {
  // The changed keys are gathered in one pass; their count comes first.
  // Each is its code and at most three varint bytes (presses * 2 + down < 2^17).
  std::array<char, vk::kCount * 4> keys;
  std::size_t keys_size = 0;
  std::size_t changed_keys = 0;
  const KeyState* now_keys = now.keys.data();
  const KeyState* before_keys = before.keys.data();
  for (std::size_t first = 0; first < vk::kCount; first += kKeyGroup) {
    if (GroupUntouched(now_keys + first) && GroupUntouched(before_keys + first)) continue;
    for (std::size_t code = first; code < first + kKeyGroup; ++code) {
      const KeyState& key = now_keys[code];
      if (key.presses == 0 && key.down == before_keys[code].down) continue;
      ++changed_keys;
      keys[keys_size++] = static_cast<char>(code);
      std::uint32_t state = (static_cast<std::uint32_t>(key.presses) << 1) | (key.down ? 1 : 0);
      while (state >= 0x80) {
        keys[keys_size++] = static_cast<char>((state & 0x7F) | 0x80);
        state >>= 7;
      }
      keys[keys_size++] = static_cast<char>(state);
    }
  }
  std::uint8_t flags = 0;
  if (now.mouse != before.mouse) flags |= kMouseMoved;
  if (changed_keys != 0) flags |= kKeysChanged;
  if (!now.typed.empty()) flags |= kTyped;
  if (now.close_requested) flags |= kCloseRequested;
  if (now.display_lost) flags |= kDisplayLost;
  out += kFrameTag;
  PutVarint(out, static_cast<std::uint64_t>(now.clock - before.clock));
  out += static_cast<char>(flags);
  if ((flags & kMouseMoved) != 0) {
    PutVarint(out, Zigzag(static_cast<std::int64_t>(now.mouse.x) - before.mouse.x));
    PutVarint(out, Zigzag(static_cast<std::int64_t>(now.mouse.y) - before.mouse.y));
  }
  if (changed_keys != 0) {
    PutVarint(out, changed_keys);
    out.append(keys.data(), keys_size);
  }
  if (!now.typed.empty()) PutText(out, now.typed);
}

void AppendShotRecord(std::string& out, const std::string& name) {
  out += kShotTag;
  PutText(out, name);
}

void AppendAnswerRecord(std::string& out, const RecordedAnswer& answer) {
  out += kAnswerTag;
  out += static_cast<char>(answer.kind);
  PutText(out, answer.subject);
  PutVarint(out, answer.value);
  PutText(out, answer.text);
  PutText(out, std::string_view(reinterpret_cast<const char*>(answer.bytes.data()),
                                answer.bytes.size()));
}

void AppendEndRecord(std::string& out, int exit_status, std::uint32_t crc) {
  std::string end(1, kEndTag);
  PutVarint(end, Zigzag(exit_status));
  // The status is covered too, so a damaged one is found.
  crc = RecordingCrc({reinterpret_cast<const std::uint8_t*>(end.data()), end.size()}, crc);
  out += end;
  for (int i = 0; i < 4; ++i) out += static_cast<char>((crc >> (8 * i)) & 0xFF);
}

std::uint32_t RecordingCrc(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
  // Eight tables, so that eight bytes are taken in one step: table k gives the
  // CRC of a byte followed by k zero bytes.
  using Tables = std::array<std::array<std::uint32_t, 256>, 8>;
  static const Tables kTables = [] {
    Tables tables{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      tables[0][n] = c;
    }
    for (std::size_t k = 1; k < 8; ++k) {
      for (std::size_t n = 0; n < 256; ++n) {
        const std::uint32_t previous = tables[k - 1][n];
        tables[k][n] = (previous >> 8) ^ tables[0][previous & 0xFF];
      }
    }
    return tables;
  }();
  const std::uint32_t* t0 = kTables[0].data();
  const std::uint32_t* t1 = kTables[1].data();
  const std::uint32_t* t2 = kTables[2].data();
  const std::uint32_t* t3 = kTables[3].data();
  const std::uint32_t* t4 = kTables[4].data();
  const std::uint32_t* t5 = kTables[5].data();
  const std::uint32_t* t6 = kTables[6].data();
  const std::uint32_t* t7 = kTables[7].data();
  crc = ~crc;
  const std::uint8_t* at = bytes.data();
  std::size_t left = bytes.size();
  for (; left >= 8; left -= 8, at += 8) {
    const std::uint32_t low =
        crc ^ (static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
               static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24);
    crc = t7[low & 0xFF] ^ t6[(low >> 8) & 0xFF] ^ t5[(low >> 16) & 0xFF] ^ t4[low >> 24] ^
          t3[at[4]] ^ t2[at[5]] ^ t1[at[6]] ^ t0[at[7]];
  }
  for (; left > 0; --left, ++at) crc = t0[(crc ^ *at) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

RecordingReader::RecordingReader(std::vector<std::uint8_t> bytes, std::string file_name)
    : bytes_(std::move(bytes)), file_name_(std::move(file_name)) {
  Reader in(bytes_, file_name_);
  ReadHeader(in, bytes_);
  next_record_ = in.Offset();
  // Every record is read once before the first is given out, so that a
  // damaged recording is refused before anything of it is replayed.
  FrameBeingRead checked;
  while (true) {
    const RecordRead read = ReadRecord(in, checked, bytes_, true);
    if (read.kind == RecordKind::kEnd) {
      exit_status_ = read.exit_status;
      break;
    }
    ++entry_count_;
  }
  Advance();
}

void RecordingReader::Advance() {
  if (!records_left_) return;
  Reader in(bytes_, file_name_, next_record_);
  const RecordRead read = ReadRecord(in, last_frame_, bytes_, false);
  next_record_ = in.Offset();
  switch (read.kind) {
    case RecordKind::kFrame:
      current_ = last_frame_.frame;
      break;
    case RecordKind::kShot:
      current_ = RecordedShot{std::string(read.shot)};
      break;
    case RecordKind::kAnswer:
      current_ = read.answer.Copy();
      break;
    case RecordKind::kEnd:
      records_left_ = false;
      current_ = RecordEntry{};
      break;
  }
}

std::optional<std::int64_t> RecordingReader::NextFrameClock() const {
  if (!records_left_) return std::nullopt;
  if (const auto* frame = std::get_if<InputFrame>(&current_)) return frame->clock;
  if (!std::holds_alternative<RecordedShot>(current_)) return std::nullopt;
  // Only the clock is wanted, so the records are passed over, not decoded;
  // the end record follows them all, and the clock was checked when read.
  Reader in(bytes_, file_name_, next_record_);
  while (true) {
    const char tag = static_cast<char>(in.Byte());
    if (tag == kFrameTag) return last_frame_.frame.clock + static_cast<std::int64_t>(in.Varint());
    if (tag != kShotTag) return std::nullopt;
    in.Text();
  }
}

Recording ParseRecording(std::span<const std::uint8_t> bytes, const std::string& file_name) {
  RecordingReader reader({bytes.begin(), bytes.end()}, file_name);
  Recording recording;
  // Made at once in its full size: a frame is over a kilobyte, and a growing
  // list would copy every frame again as it grows.
  recording.entries.reserve(reader.EntryCount());
  for (const RecordEntry* entry = reader.Current(); entry != nullptr; entry = reader.Current()) {
    recording.entries.push_back(*entry);
    reader.Advance();
  }
  recording.exit_status = reader.ExitStatus();
  return recording;
}

std::string DescribeEntry(const RecordEntry& entry) {
  if (std::holds_alternative<InputFrame>(entry)) return "ein Eingabeschritt";
  if (const auto* shot = std::get_if<RecordedShot>(&entry)) return "ein Bild „" + shot->name + "“";
  return AnswerName(std::get<RecordedAnswer>(entry).kind);
}

}  // namespace mw
