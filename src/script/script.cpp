#include "script/script.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <utility>

#include "drawing/drawing_types.h"
#include "input/pad_controls.h"
#include "input/virtual_keys.h"
#include "text/cp1252.h"

namespace mw {
namespace {

constexpr std::int64_t kPressMs = 50;
constexpr std::int64_t kLargestMs = 1'000'000'000;  // about eleven days of virtual time
constexpr std::int64_t kLargestFinger = 9;          // ten fingers

struct NamedKey {
  std::string_view name;
  int vk;
};
constexpr std::array<NamedKey, 13> kKeyNames{{{"mouse-left", vk::kLeftButton},
                                              {"mouse-right", vk::kRightButton},
                                              {"backspace", vk::kBackspace},
                                              {"tab", vk::kTab},
                                              {"enter", vk::kReturn},
                                              {"escape", vk::kEscape},
                                              {"space", vk::kSpace},
                                              {"arrow-left", vk::kLeft},
                                              {"arrow-up", vk::kUp},
                                              {"arrow-right", vk::kRight},
                                              {"arrow-down", vk::kDown},
                                              {"key-1", vk::kKey1},
                                              {"key-2", vk::kKey2}}};

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Cuts the next blank-separated word off the front of s.
std::string_view NextWord(std::string_view& s) {
  s = Trim(s);
  std::size_t end = 0;
  while (end < s.size() && !IsBlank(s[end])) ++end;
  const std::string_view word = s.substr(0, end);
  s.remove_prefix(end);
  return word;
}

std::optional<std::int64_t> ParseInteger(std::string_view s, std::int64_t low, std::int64_t high) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (s.empty() || error != std::errc() || end != s.data() + s.size()) return std::nullopt;
  if (value < low || value > high) return std::nullopt;
  return value;
}

// A non-negative decimal number of milliseconds, as ticks rounded up: an event
// at 0.001 ms takes effect at the first query at or after it.
std::optional<std::int64_t> ParseMilliseconds(std::string_view s) {
  const std::size_t dot = s.find('.');
  const std::string_view whole = s.substr(0, dot);
  const std::string_view fraction = dot == std::string_view::npos ? "" : s.substr(dot + 1);
  if (whole.empty() || (dot != std::string_view::npos && fraction.empty())) return std::nullopt;
  if (whole[0] == '+' || whole[0] == '-') return std::nullopt;
  const auto ms = ParseInteger(whole, 0, kLargestMs);
  if (!ms || fraction.size() > 9) return std::nullopt;
  std::int64_t numerator = 0;  // fraction * 10^9
  std::int64_t scale = 1'000'000'000;
  for (char c : fraction) {
    if (c < '0' || c > '9') return std::nullopt;
    scale /= 10;
    numerator += (c - '0') * scale;
  }
  return *ms * kTicksPerMs + (numerator * kTicksPerMs + 999'999'999) / 1'000'000'000;
}

// A decimal number from low to high with at most six places after the
// point, in millionths: "-1", "0.5", "-0.125".
std::optional<std::int64_t> ParseMillionths(std::string_view s, std::int64_t low,
                                            std::int64_t high) {
  const bool negative = !s.empty() && s.front() == '-';
  if (negative) s.remove_prefix(1);
  const std::size_t dot = s.find('.');
  const std::string_view whole = s.substr(0, dot);
  const std::string_view fraction = dot == std::string_view::npos ? "" : s.substr(dot + 1);
  if (whole.empty() || whole.front() == '+' || whole.front() == '-') return std::nullopt;
  if (dot != std::string_view::npos && (fraction.empty() || fraction.size() > 6)) {
    return std::nullopt;
  }
  const auto units = ParseInteger(whole, 0, 1000);
  if (!units) return std::nullopt;
  std::int64_t value = *units * kAxisScale;
  std::int64_t scale = kAxisScale;
  for (const char c : fraction) {
    if (c < '0' || c > '9') return std::nullopt;
    scale /= 10;
    value += (c - '0') * scale;
  }
  if (negative) value = -value;
  if (value < low || value > high) return std::nullopt;
  return value;
}

bool IsSafeShotName(std::string_view name) {
  if (name.empty() || name.size() > 100 || name[0] == '.') return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.';
  });
}

class LineParser {
 public:
  LineParser(const std::string& file_name, int line) : file_(file_name), line_(line) {}

  [[noreturn]] void Fail(const std::string& message) const {
    throw ScriptError(file_ + ":" + std::to_string(line_) + ": " + message);
  }

  std::string_view Word(std::string_view& rest, const char* what) const {
    const std::string_view word = NextWord(rest);
    if (word.empty()) Fail(std::string(what) + " fehlt");
    return word;
  }

  void NoMore(std::string_view rest) const {
    if (!Trim(rest).empty()) Fail("zu viele Angaben: \"" + std::string(Trim(rest)) + "\"");
  }

  int Integer(std::string_view& rest, const char* what, std::int64_t low, std::int64_t high) const {
    const std::string_view word = Word(rest, what);
    const auto n = ParseInteger(word, low, high);
    if (!n) {
      Fail(std::string("ungültiger Wert für ") + what + " \"" + std::string(word) + "\" (" +
           std::to_string(low) + " bis " + std::to_string(high) + ")");
    }
    return static_cast<int>(*n);
  }

  int PadButtonNamed(std::string_view& rest) const {
    const std::string_view name = Word(rest, "Name des Pad-Knopfs");
    const auto button = PadButtonOfName(name);
    if (!button) Fail("unbekannter Pad-Knopf \"" + std::string(name) + "\"");
    return static_cast<int>(*button);
  }

  int Key(std::string_view& rest) const {
    const std::string_view name = Word(rest, "Tastenname");
    const int vk = VirtualKeyOfName(name);
    if (vk < 0) Fail("unbekannte Taste \"" + std::string(name) + "\"");
    return vk;
  }

 private:
  const std::string& file_;
  int line_;
};

// Strips a trailing comment: a `#` at the start or after a blank.
std::string_view WithoutComment(std::string_view line) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '#' && (i == 0 || IsBlank(line[i - 1]))) return line.substr(0, i);
  }
  return line;
}

}  // namespace

int VirtualKeyOfName(std::string_view name) {
  for (const NamedKey& key : kKeyNames) {
    if (key.name == name) return key.vk;
  }
  if (name.substr(0, 3) == "vk-") {
    if (const auto n = ParseInteger(name.substr(3), 0, vk::kCount - 1)) return static_cast<int>(*n);
  }
  return -1;
}

Script ParseScript(std::string_view text, const std::string& file_name) {
  Script script;
  script.file_name = file_name;
  std::int64_t previous = 0;
  int line_number = 0;
  while (!text.empty()) {
    ++line_number;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (Trim(line).empty() || Trim(line).front() == '#') continue;

    const LineParser p(file_name, line_number);
    std::string_view rest = line;
    const std::string_view time_word = p.Word(rest, "Zeit");
    const auto tick = ParseMilliseconds(time_word);
    if (!tick) p.Fail("ungültige Zeit \"" + std::string(time_word) + "\"");
    if (*tick < previous)
      p.Fail("die Zeit " + std::string(time_word) + " liegt vor der Zeile davor");
    previous = *tick;

    ScriptEvent event;
    event.tick = *tick;
    event.line = line_number;
    // A press goes down now and up again kPressMs later.
    std::optional<ScriptEvent::Kind> released_by;
    const std::string_view command = p.Word(rest, "Befehl");
    if (command == "type") {
      // TEXT runs to the end of the line, blanks and `#` included.
      if (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
      if (rest.empty()) p.Fail("Text fehlt");
      event.kind = ScriptEvent::Kind::kType;
      event.text = Utf8ToCp1252(rest);
      if (Cp1252ToUtf8(event.text) != rest) {
        p.Fail("der Text enthält Zeichen, die Windows-1252 nicht kennt, oder kein gültiges UTF-8");
      }
      script.events.push_back(std::move(event));
      continue;
    }
    rest = WithoutComment(rest);
    if (command == "mouse") {
      event.kind = ScriptEvent::Kind::kMouse;
      const std::string_view x = p.Word(rest, "X");
      const std::string_view y = p.Word(rest, "Y");
      const auto px = ParseInteger(x, INT32_MIN, INT32_MAX);
      const auto py = ParseInteger(y, INT32_MIN, INT32_MAX);
      if (!px || !py)
        p.Fail("ungültige Mausposition \"" + std::string(x) + " " + std::string(y) + "\"");
      event.a = static_cast<int>(*px);
      event.b = static_cast<int>(*py);
    } else if (command == "down" || command == "up" || command == "press") {
      event.kind = command == "up" ? ScriptEvent::Kind::kUp : ScriptEvent::Kind::kDown;
      event.a = p.Key(rest);
      if (command == "press") released_by = ScriptEvent::Kind::kUp;
    } else if (command == "char") {
      event.kind = ScriptEvent::Kind::kType;
      const std::string_view code = p.Word(rest, "Zeichencode");
      const auto n = ParseInteger(code, 0, 255);
      if (!n) p.Fail("ungültiger Zeichencode \"" + std::string(code) + "\" (0 bis 255)");
      event.text = std::string(1, static_cast<char>(*n));
    } else if (command == "lose-display") {
      event.kind = ScriptEvent::Kind::kLoseDisplay;
      const std::string_view ms = p.Word(rest, "Dauer");
      const auto ticks = ParseMilliseconds(ms);
      if (!ticks || *ticks > INT32_MAX) p.Fail("ungültige Dauer \"" + std::string(ms) + "\"");
      event.a = static_cast<int>(*ticks);
    } else if (command == "shot") {
      event.kind = ScriptEvent::Kind::kShot;
      const std::string_view name = p.Word(rest, "Bildname");
      if (!IsSafeShotName(name)) {
        p.Fail("ungültiger Bildname \"" + std::string(name) +
               "\" (nur Buchstaben, Ziffern, - _ und ., nicht mit . am Anfang)");
      }
      event.text = name;
    } else if (command == "close") {
      event.kind = ScriptEvent::Kind::kClose;
    } else if (command == "touch-down" || command == "touch-move") {
      event.kind =
          command == "touch-down" ? ScriptEvent::Kind::kTouchDown : ScriptEvent::Kind::kTouchMove;
      event.a = p.Integer(rest, "Finger", 0, kLargestFinger);
      event.b = p.Integer(rest, "X", 0, kPictureWidth - 1);
      event.c = p.Integer(rest, "Y", 0, kPictureHeight - 1);
    } else if (command == "touch-up") {
      event.kind = ScriptEvent::Kind::kTouchUp;
      event.a = p.Integer(rest, "Finger", 0, kLargestFinger);
    } else if (command == "touch-cancel") {
      event.kind = ScriptEvent::Kind::kTouchCancel;
    } else if (command == "pad-down" || command == "pad-up" || command == "pad-press") {
      event.kind = command == "pad-up" ? ScriptEvent::Kind::kPadUp : ScriptEvent::Kind::kPadDown;
      event.a = p.PadButtonNamed(rest);
      if (command == "pad-press") released_by = ScriptEvent::Kind::kPadUp;
    } else if (command == "pad-axis") {
      event.kind = ScriptEvent::Kind::kPadAxis;
      const std::string_view name = p.Word(rest, "Name der Pad-Achse");
      const auto axis = PadAxisOfName(name);
      if (!axis) p.Fail("unbekannte Pad-Achse \"" + std::string(name) + "\"");
      event.a = static_cast<int>(*axis);
      const std::string_view word = p.Word(rest, "Wert");
      const std::int64_t low = IsTrigger(*axis) ? 0 : -kAxisScale;
      const auto value = ParseMillionths(word, low, kAxisScale);
      if (!value) {
        p.Fail("ungültiger Wert \"" + std::string(word) + "\" (" + (IsTrigger(*axis) ? "0" : "-1") +
               " bis 1, höchstens sechs Nachkommastellen)");
      }
      event.b = static_cast<int>(*value);
    } else if (command == "pad-plug") {
      event.kind = ScriptEvent::Kind::kPadPlug;
    } else if (command == "pad-unplug") {
      event.kind = ScriptEvent::Kind::kPadUnplug;
    } else {
      p.Fail("unbekannter Befehl \"" + std::string(command) + "\"");
    }
    p.NoMore(rest);
    if (released_by) {
      ScriptEvent release = event;
      release.kind = *released_by;
      release.tick += kPressMs * kTicksPerMs;
      script.events.push_back(std::move(event));
      script.events.push_back(std::move(release));
      continue;
    }
    script.events.push_back(std::move(event));
  }
  // A press's release may come after later lines; equal times keep their order.
  std::stable_sort(script.events.begin(), script.events.end(),
                   [](const ScriptEvent& a, const ScriptEvent& b) { return a.tick < b.tick; });
  return script;
}

}  // namespace mw
