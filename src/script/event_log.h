#pragma once
// The event log: one JSON object per line, each with "t" (whole milliseconds of
// the run's clock at the pass that logged it) and "event". Written when the
// program is started with --events FILE; otherwise the calls cost nothing.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace mw {

class EventLog {
 public:
  // Receives each line as it is written (the file of --events, which keeps
  // every line the moment it is logged).
  using LineSink = std::function<void(std::string_view line)>;

  EventLog() = default;
  void WriteTo(LineSink sink) { sink_ = std::move(sink); }
  // Every line from now on carries this time (the pass's clock, in ms since
  // the run started), so a replay logs the same times as its recording.
  void SetTime(std::int64_t ms) { now_ = ms; }
  bool IsOpen() const { return static_cast<bool>(sink_); }

  // Texts are Windows-1252 and written as UTF-8.
  void Screen(std::string_view name);
  void Sound(int number);
  void Message(std::string_view text, std::int32_t x, std::int32_t y);
  void GameEnd(std::string_view reason, std::int32_t score);
  void HighScores(std::string_view action, std::string_view path);
  void MessageBox(std::string_view title, std::string_view text);
  void Exit(int code);

  // Every line written so far (kept in memory too, for tests).
  const std::string& Text() const { return text_; }
  void KeepInMemory(bool keep) { keep_ = keep; }

 private:
  void Write(const std::string& fields);

  LineSink sink_;
  std::int64_t now_ = 0;
  std::string text_;
  bool keep_ = false;
};

// JSON string literal (with quotes) of Windows-1252 text.
std::string JsonString(std::string_view cp1252);

}  // namespace mw
