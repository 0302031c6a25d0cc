#include "script/event_log.h"

#include "text/cp1252.h"

namespace mw {

std::string JsonString(std::string_view cp1252) {
  static constexpr char kHex[] = "0123456789abcdef";
  const std::string utf8 = Cp1252ToUtf8(cp1252);
  std::string out = "\"";
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          out += "\\u00";
          out += kHex[c >> 4];
          out += kHex[c & 0xF];
        } else if (c == 0xC2 && i + 1 < utf8.size() &&
                   static_cast<unsigned char>(utf8[i + 1]) < 0xA0) {
          // C1 controls (the codes 1252 leaves open) are escaped too, so the
          // log stays plain printable text.
          const auto next = static_cast<unsigned char>(utf8[++i]);
          out += "\\u00";
          out += kHex[next >> 4];
          out += kHex[next & 0xF];
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
  return out;
}

void EventLog::Write(const std::string& fields) {
  if (!sink_ && !keep_) return;
  const std::string line = "{\"t\":" + std::to_string(now_) + "," + fields + "}\n";
  if (keep_) text_ += line;
  if (sink_) sink_(line);
}

void EventLog::Screen(std::string_view name) {
  Write("\"event\":\"screen\",\"name\":" + JsonString(name));
}

void EventLog::Sound(int number) {
  Write("\"event\":\"sound\",\"number\":" + std::to_string(number));
}

void EventLog::Message(std::string_view text, std::int32_t x, std::int32_t y) {
  Write("\"event\":\"message\",\"text\":" + JsonString(text) + ",\"x\":" + std::to_string(x) +
        ",\"y\":" + std::to_string(y));
}

void EventLog::GameEnd(std::string_view reason, std::int32_t score) {
  Write("\"event\":\"game-end\",\"reason\":" + JsonString(reason) +
        ",\"score\":" + std::to_string(score));
}

void EventLog::HighScores(std::string_view action, std::string_view path) {
  Write("\"event\":\"highscores\",\"action\":" + JsonString(action) +
        ",\"path\":" + JsonString(path));
}

void EventLog::MessageBox(std::string_view title, std::string_view text) {
  Write("\"event\":\"messagebox\",\"title\":" + JsonString(title) +
        ",\"text\":" + JsonString(text));
}

void EventLog::Exit(int code) {
  Write("\"event\":\"exit\",\"code\":" + std::to_string(code));
}

}  // namespace mw
