#pragma once
// Feeds a recorded run back to the program (`--replay FILE`): its input frames
// and every answer it once had from outside, in the order they were asked for.
// When the program asks for something the recording does not hold next, the
// recording was made by another program: RecordingError.

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>

#include "input/recording_format.h"

namespace mw {

// Watching a replay in a window ended with Escape or the window's close.
struct ReplayStopped {};

// The program still ran 60 s of virtual time after its script's last event.
class HeadlessTimeout : public std::runtime_error {
 public:
  explicit HeadlessTimeout(const std::string& what) : std::runtime_error(what) {}
};

class Replayer {
 public:
  Replayer(Recording recording, std::string file_name);

  // The next input frame; the pictures asked for before it go to on_shot.
  InputFrame NextFrame(const std::function<void(const std::string&)>& on_shot);
  // The next answer, which must be of that kind and about that subject.
  RecordedAnswer NextAnswer(RecordedAnswer::Kind kind, const std::string& subject);
  // The run ended with that status: the recording must end here too.
  void Finish(int exit_status) const;

  bool paced = false;  // keep the recorded pace (watching in a window)

 private:
  [[noreturn]] void Mismatch(const std::string& asked) const;

  Recording recording_;
  std::string file_name_;
  std::size_t next_ = 0;
};

}  // namespace mw
