#pragma once
// A file written from its start while the program runs: the event log and a
// recording. What is written reaches the disk when asked, and at least once
// a second when the file is made with that promise.

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace mw {

class OutputFile {
 public:
  // Makes the file, or empties it; the reason when it cannot, else empty.
  std::string Open(const std::string& path, bool sync_every_second);
  bool IsOpen() const { return file_ != nullptr; }

  // Appends the bytes; the reason when they could not be written, else empty.
  std::string Write(std::string_view bytes);
  // Everything written so far into the system's hands, or onto the disk.
  std::string Flush();
  std::string SyncToDisk();
  void Close() { file_.reset(); }

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
  bool sync_every_second_ = false;
  // Real time, not the run's clock: a headless run's seconds pass much faster.
  std::chrono::steady_clock::time_point last_sync_;
};

}  // namespace mw
