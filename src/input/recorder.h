#pragma once
// Writes a recording while the program runs (`--record FILE`): every input
// frame, every picture asked for and every answer from outside, as they
// happen. Where the bytes go is the caller's (a file that reaches the disk at
// least once a second, so a crash or a power cut loses at most the last one).

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "input/input_frame.h"
#include "input/recording_format.h"

namespace mw {

struct RecordingOutput {
  // Appends bytes; the reason when that failed, else empty.
  std::function<std::string(std::string_view bytes)> append;
  // Everything appended so far onto the disk; the reason when that failed.
  std::function<std::string()> sync;
};

class Recorder {
 public:
  // Writes the header at once. A failure is told once through on_failure;
  // from then on the run goes on unrecorded.
  Recorder(RecordingOutput output, std::function<void(const std::string& reason)> on_failure);

  void Frame(const InputFrame& frame);
  void Shot(const std::string& name);
  void Answer(const RecordedAnswer& answer);
  // Writes the end record and syncs.
  void Finish(int exit_status);

 private:
  void Write(const std::string& bytes);
  void Sync();
  void Fail(const std::string& reason);

  RecordingOutput output_;
  std::function<void(const std::string&)> on_failure_;
  std::uint32_t crc_ = 0;
  InputFrame last_frame_;
  bool failed_ = false;
};

}  // namespace mw
