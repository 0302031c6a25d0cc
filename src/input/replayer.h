#pragma once
// Feeds a recorded run back to the program (`--replay FILE`): its input frames
// and every answer it once had from outside, in the order they were asked for.
// When the program asks for something the recording does not hold next, the
// recording was made by another program: the replayer keeps the German reason
// and gives neutral answers from then on, and the next sample says so.
// It keeps the recording's bytes and decodes one entry at a time, so its
// memory does not grow with the length of the game.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "input/input_frame.h"
#include "input/recording_format.h"

namespace mw {

class Replayer {
 public:
  // Checks the whole recording first; throws RecordingError naming the file
  // and what is wrong.
  Replayer(std::vector<std::uint8_t> bytes, std::string file_name);

  // The clock of the next input frame, when the recording holds one next
  // (after pictures asked for).
  std::optional<std::int64_t> NextFrameClock() const;
  // The next input frame (the pictures asked for before it go to on_shot),
  // or why there is none: the recorded headless run ran out of script here
  // (kScriptEnded), or the recording does not fit (kRecordingEnded).
  InputSample NextFrame(const std::function<void(const std::string&)>& on_shot);
  // The next answer, which must be of that kind and about that subject;
  // when it is not, the mismatch is kept and a neutral answer given.
  RecordedAnswer NextAnswer(RecordedAnswer::Kind kind, const std::string& subject);
  // The run ended with that status: the reason when the recording does not
  // end here too with the same status.
  std::optional<std::string> Finish(int exit_status) const;

  // Why the recording stopped fitting the program, once it did.
  const std::optional<std::string>& Mismatch() const { return mismatch_; }

 private:
  void NoteMismatch(const std::string& asked);

  RecordingReader recording_;
  std::optional<std::string> mismatch_;
};

}  // namespace mw
