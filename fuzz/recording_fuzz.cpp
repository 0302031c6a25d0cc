// Any bytes in a recording's place must give a recording or a clear German
// error naming the file: never a crash, never undefined behaviour. A recording
// that was read is written again and read back unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
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

// The same as a == b, but the keys are compared by their bytes first: equal
// bytes are equal keys, and comparing 256 keys one by one, as InputFrame's
// own == does, would take most of this target's time. Where the bytes differ
// (a real difference, or padding) the keys are compared one by one after all.
// Naming every member makes a new one a build error here until it is compared.
bool SameFrame(const mw::InputFrame& a, const mw::InputFrame& b) {
  const auto& [a_keys, a_mouse, a_clock, a_typed, a_close_requested, a_display_lost] = a;
  const auto& [b_keys, b_mouse, b_clock, b_typed, b_close_requested, b_display_lost] = b;
  const bool same_keys =
      std::memcmp(a_keys.data(), b_keys.data(), sizeof(a_keys)) == 0 || a_keys == b_keys;
  return same_keys && a_mouse == b_mouse && a_clock == b_clock && a_typed == b_typed &&
         a_close_requested == b_close_requested && a_display_lost == b_display_lost;
}

bool SameEntries(const std::vector<mw::RecordEntry>& a, const std::vector<mw::RecordEntry>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto* a_frame = std::get_if<mw::InputFrame>(&a[i]);
    const auto* b_frame = std::get_if<mw::InputFrame>(&b[i]);
    const bool same =
        a_frame != nullptr && b_frame != nullptr ? SameFrame(*a_frame, *b_frame) : a[i] == b[i];
    if (!same) return false;
  }
  return true;
}

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
  Check(SameEntries(again.entries, recording.entries));
}

void ParseAndCheck(std::span<const std::uint8_t> bytes) {
  static const std::string kStart = "Die Aufzeichnung „" + kFile + "“ ";
  try {
    CheckRoundTrip(mw::ParseRecording(bytes, kFile));
  } catch (const mw::RecordingError& e) {
    const std::string_view what = e.what();
    Check(what.starts_with(kStart));
    Check(what.ends_with("."));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ParseAndCheck({data, size});
  // The same bytes as the records of a well-framed recording with a correct
  // checksum, so that the records themselves are read to the end. They get a
  // buffer of exactly their size, so a read past the end is caught.
  const std::string header = mw::RecordingHeader();
  std::string end;
  mw::AppendEndRecord(end, 0, mw::RecordingCrc({data, size}, mw::RecordingCrc(BytesOf(header))));
  std::vector<std::uint8_t> framed(header.size() + size + end.size());
  std::memcpy(framed.data(), header.data(), header.size());
  if (size != 0) std::memcpy(framed.data() + header.size(), data, size);
  std::memcpy(framed.data() + header.size() + size, end.data(), end.size());
  ParseAndCheck(framed);
  return 0;
}
