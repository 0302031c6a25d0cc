#pragma once
// Recordings made in a test: any entries, written as the recorder would.

#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "input/recording_format.h"

namespace mw::test {

inline std::span<const std::uint8_t> BytesOf(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The bytes of a whole recording of these entries, ending with exit_status.
inline std::string EncodeRecording(const std::vector<RecordEntry>& entries, int exit_status) {
  std::string out = RecordingHeader();
  // The frames stay where they are: copying one costs a kilobyte.
  const InputFrame first;
  const InputFrame* last = &first;
  for (const RecordEntry& entry : entries) {
    if (const auto* frame = std::get_if<InputFrame>(&entry)) {
      AppendFrameRecord(out, *last, *frame);
      last = frame;
    } else if (const auto* shot = std::get_if<RecordedShot>(&entry)) {
      AppendShotRecord(out, shot->name);
    } else {
      AppendAnswerRecord(out, std::get<RecordedAnswer>(entry));
    }
  }
  AppendEndRecord(out, exit_status, RecordingCrc(BytesOf(out)));
  return out;
}

}  // namespace mw::test
