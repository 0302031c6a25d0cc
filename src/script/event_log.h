#pragma once
// The event log: one JSON object per line, each with "t" (whole milliseconds of
// the run's clock at the pass that logged it) and "event". Written when the
// program is started with --events FILE; otherwise writing costs nothing.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>

namespace mw {

// What the log records. Texts are Windows-1252 and written as UTF-8.
struct ScreenEvent {
  std::string_view name;  // "menu", "settings", "game", "highscores"
};
struct SoundEvent {
  int number = 0;
  int channel = 0;  // 0..99, the channel it plays on; not written to the log
};
struct MessageEvent {
  std::string text;
  std::int32_t x = 0;
  std::int32_t y = 0;
};
struct GameEndEvent {
  std::string_view reason;  // "time", "escape", "close"
  std::int32_t score = 0;
};
struct HighScoresEvent {
  std::string_view action;  // "saved", "refused", "failed"
  std::string path;
};
struct MessageBoxEvent {
  std::string title;
  std::string text;
};
struct ExitEvent {
  int code = 0;
};
using Event = std::variant<ScreenEvent, SoundEvent, MessageEvent, GameEndEvent, HighScoresEvent,
                           MessageBoxEvent, ExitEvent>;

class EventLog {
 public:
  // Receives each line as it is written (the file of --events, which keeps
  // every line the moment it is logged).
  using LineSink = std::function<void(std::string_view line)>;

  void WriteTo(LineSink sink) { sink_ = std::move(sink); }
  // Every line from now on carries this time (the pass's clock, in ms since
  // the run started), so a replay logs the same times as its recording.
  void SetTime(std::int64_t ms) { now_ = ms; }
  bool IsOpen() const { return static_cast<bool>(sink_); }

  void Write(const Event& event);

  // Every line written so far (kept in memory too, for tests).
  const std::string& Text() const { return text_; }
  void KeepInMemory(bool keep) { keep_ = keep; }

 private:
  void WriteLine(const std::string& fields);

  LineSink sink_;
  std::int64_t now_ = 0;
  std::string text_;
  bool keep_ = false;
};

// JSON string literal (with quotes) of Windows-1252 text.
std::string JsonString(std::string_view cp1252);

}  // namespace mw
