// Any bytes in a recording's place must give a recording or a clear German
// error naming the file: never a crash, never undefined behaviour. A recording
// that was read is written again and read back unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "input/recording_format.h"
#include "recording_bytes.h"

namespace {

using mw::test::BytesOf;

void Check(bool condition) {
  if (!condition) std::abort();
}

const std::string kFile = "fuzz.rec";

// Frames keep to the screen and to a clock that never falls; writing the
// entries again gives a recording that reads back the same.
void CheckRoundTrip(const mw::Recording& recording) {
  std::int64_t clock = mw::InputFrame{}.clock;
  for (const mw::RecordEntry& entry : recording.entries) {
    if (const auto* frame = std::get_if<mw::InputFrame>(&entry)) {
      Check(frame->clock >= clock);
      Check(frame->mouse.x >= 0 && frame->mouse.x < 640 && frame->mouse.y >= 0 &&
            frame->mouse.y < 480);
      clock = frame->clock;
    }
  }
  const std::string out = mw::test::EncodeRecording(recording.entries, recording.exit_status);
  const mw::Recording again = mw::ParseRecording(BytesOf(out), kFile);
  Check(again.exit_status == recording.exit_status);
  Check(again.entries == recording.entries);
}

void ParseAndCheck(std::span<const std::uint8_t> bytes) {
  try {
    CheckRoundTrip(mw::ParseRecording(bytes, kFile));
  } catch (const mw::RecordingError& e) {
    const std::string what = e.what();
    Check(what.starts_with("Die Aufzeichnung „" + kFile + "“ "));
    Check(what.ends_with("."));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ParseAndCheck({data, size});
  // The same bytes as the records of a well-framed recording with a correct
  // checksum, so that the records themselves are read to the end.
  std::string framed = mw::RecordingHeader();
  framed.append(reinterpret_cast<const char*>(data), size);
  mw::AppendEndRecord(framed, 0, mw::RecordingCrc(BytesOf(framed)));
  ParseAndCheck(BytesOf(framed));
  return 0;
}
