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

void EventLog::WriteLine(const std::string& fields) {
  if (!sink_ && !keep_) return;
  const std::string line = "{\"t\":" + std::to_string(now_) + "," + fields + "}\n";
  if (keep_) text_ += line;
  if (sink_) sink_(line);
}

namespace {

// The fields of each kind of event, after "t".
struct Fields {
  std::string operator()(const ScreenEvent& e) const {
    return "\"event\":\"screen\",\"name\":" + JsonString(e.name);
  }
  std::string operator()(const SoundEvent& e) const {
    return "\"event\":\"sound\",\"number\":" + std::to_string(e.number);
  }
  std::string operator()(const MessageEvent& e) const {
    return "\"event\":\"message\",\"text\":" + JsonString(e.text) +
           ",\"x\":" + std::to_string(e.x) + ",\"y\":" + std::to_string(e.y);
  }
  std::string operator()(const GameEndEvent& e) const {
    return "\"event\":\"game-end\",\"reason\":" + JsonString(e.reason) +
           ",\"score\":" + std::to_string(e.score);
  }
  std::string operator()(const HighScoresEvent& e) const {
    return "\"event\":\"highscores\",\"action\":" + JsonString(e.action) +
           ",\"path\":" + JsonString(e.path);
  }
  std::string operator()(const MessageBoxEvent& e) const {
    return "\"event\":\"messagebox\",\"title\":" + JsonString(e.title) +
           ",\"text\":" + JsonString(e.text);
  }
  std::string operator()(const ExitEvent& e) const {
    return "\"event\":\"exit\",\"code\":" + std::to_string(e.code);
  }
};

}  // namespace

void EventLog::Write(const Event& event) {
  if (!sink_ && !keep_) return;
  WriteLine(std::visit(Fields{}, event));
}

}  // namespace mw
