#pragma once
// Writes a recording while the program runs (`--record FILE`). Buffered, and
// flushed to the disk at least once a second, so a crash
// or a power cut loses at most the last second.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/input_frame.h"
#include "platform/recording_format.h"

namespace mw {

class Recorder {
 public:
  // Creates FILE; throws RuntimeError with a German message when it cannot.
  explicit Recorder(const std::string& path);
  ~Recorder();
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  void Frame(const InputFrame& frame);
  void Shot(const std::string& name);
  void Answer(const RecordedAnswer& answer);
  // Writes the end record and closes the file.
  void Finish(int exit_status);

 private:
  void Write(const std::string& bytes);
  void Sync();
  void Fail(const std::string& reason);

  struct FileCloser {
    void operator()(std::FILE* f) const;
  };
  std::string path_;
  std::unique_ptr<std::FILE, FileCloser> out_;
  std::uint32_t crc_ = 0;
  InputFrame last_frame_;
  std::chrono::steady_clock::time_point last_sync_ = std::chrono::steady_clock::now();
  bool failed_ = false;
};

}  // namespace mw
