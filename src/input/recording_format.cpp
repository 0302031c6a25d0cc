#include "input/recording_format.h"

#include <array>
#include <limits>

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

// Reads the fields of records; every failure is a RecordingError.
class Reader {
 public:
  Reader(std::span<const std::uint8_t> bytes, const std::string& file_name)
      : bytes_(bytes), file_name_(file_name) {}

  bool AtEnd() const { return at_ == bytes_.size(); }
  std::size_t Offset() const { return at_; }

  [[noreturn]] void Fail(const std::string& reason) const {
    throw RecordingError("Die Aufzeichnung „" + file_name_ +
                         "“ kann nicht abgespielt werden: " + reason + ".");
  }
  [[noreturn]] void Corrupt(const std::string& what) const {
    Fail("sie ist beschädigt (" + what + " bei Byte " + std::to_string(at_) + ")");
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

  std::string Text() {
    const std::uint64_t n = Varint();
    if (n > bytes_.size() - at_) Fail("sie ist unvollständig, sie endet mitten in einem Eintrag");
    std::string text(reinterpret_cast<const char*>(bytes_.data() + at_), n);
    at_ += n;
    return text;
  }

  std::uint32_t Fixed32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(Byte()) << (8 * i);
    return v;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  const std::string& file_name_;
  std::size_t at_ = 0;
};

InputFrame ReadFrame(Reader& in, const InputFrame& before) {
  InputFrame now = before;
  now.typed.clear();
  for (KeyState& key : now.keys) key.presses = 0;
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
      const std::uint64_t state = in.Varint();
      if ((state >> 1) > std::numeric_limits<std::uint16_t>::max()) {
        in.Corrupt("zu viele Tastendrücke");
      }
      now.keys[code] = KeyState{(state & 1) != 0, static_cast<std::uint16_t>(state >> 1)};
    }
  }
  if ((flags & kTyped) != 0) {
    now.typed = in.Text();
    if (now.typed.empty()) in.Corrupt("eine leere Eingabe von Zeichen");
  }
  now.close_requested = (flags & kCloseRequested) != 0;
  now.display_lost = (flags & kDisplayLost) != 0;
  return now;
}

RecordedAnswer ReadAnswer(Reader& in) {
  RecordedAnswer answer;
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
  const std::string bytes = in.Text();
  answer.bytes.assign(bytes.begin(), bytes.end());
  return answer;
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
  out += kFrameTag;
  PutVarint(out, static_cast<std::uint64_t>(now.clock - before.clock));
  std::uint8_t flags = 0;
  if (now.mouse != before.mouse) flags |= kMouseMoved;
  std::size_t changed_keys = 0;
  for (std::size_t k = 0; k < now.keys.size(); ++k) {
    if (now.keys[k].presses != 0 || now.keys[k].down != before.keys[k].down) ++changed_keys;
  }
  if (changed_keys != 0) flags |= kKeysChanged;
  if (!now.typed.empty()) flags |= kTyped;
  if (now.close_requested) flags |= kCloseRequested;
  if (now.display_lost) flags |= kDisplayLost;
  out += static_cast<char>(flags);
  if ((flags & kMouseMoved) != 0) {
    PutVarint(out, Zigzag(static_cast<std::int64_t>(now.mouse.x) - before.mouse.x));
    PutVarint(out, Zigzag(static_cast<std::int64_t>(now.mouse.y) - before.mouse.y));
  }
  if (changed_keys != 0) {
    PutVarint(out, changed_keys);
    for (std::size_t k = 0; k < now.keys.size(); ++k) {
      const KeyState& key = now.keys[k];
      if (key.presses == 0 && key.down == before.keys[k].down) continue;
      out += static_cast<char>(k);
      PutVarint(out, (static_cast<std::uint64_t>(key.presses) << 1) | (key.down ? 1 : 0));
    }
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
  static const std::array<std::uint32_t, 256> kTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
    return table;
  }();
  crc = ~crc;
  for (const std::uint8_t b : bytes) crc = kTable[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

Recording ParseRecording(std::span<const std::uint8_t> bytes, const std::string& file_name) {
  Reader in(bytes, file_name);
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

  Recording recording;
  InputFrame last;
  while (true) {
    if (in.AtEnd()) in.Fail("sie ist unvollständig, ihr Abschluss fehlt");
    const char tag = static_cast<char>(in.Byte());
    if (tag == kFrameTag) {
      last = ReadFrame(in, last);
      recording.entries.emplace_back(last);
    } else if (tag == kShotTag) {
      recording.entries.emplace_back(RecordedShot{in.Text()});
    } else if (tag == kAnswerTag) {
      recording.entries.emplace_back(ReadAnswer(in));
    } else if (tag == kEndTag) {
      const std::int64_t status = in.SignedVarint();
      const std::size_t crc_start = in.Offset();
      const std::uint32_t crc = in.Fixed32();
      if (crc != RecordingCrc(bytes.first(crc_start))) in.Corrupt("eine falsche Prüfsumme");
      if (status < 0 || status > 255) in.Corrupt("ein unmöglicher Endstatus");
      if (!in.AtEnd()) in.Corrupt("Daten nach dem Abschluss");
      recording.exit_status = static_cast<int>(status);
      return recording;
    } else {
      in.Corrupt("ein unbekannter Eintrag");
    }
  }
}

std::string DescribeEntry(const RecordEntry& entry) {
  if (std::holds_alternative<InputFrame>(entry)) return "ein Eingabeschritt";
  if (const auto* shot = std::get_if<RecordedShot>(&entry)) return "ein Bild „" + shot->name + "“";
  return AnswerName(std::get<RecordedAnswer>(entry).kind);
}

}  // namespace mw
