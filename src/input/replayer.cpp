#include "input/replayer.h"

#include <utility>

namespace mw {
namespace {

// The exit status of a headless run that went on past its script.
constexpr int kHeadlessTimeoutStatus = 3;

}  // namespace

Replayer::Replayer(Recording recording, std::string file_name)
    : recording_(std::move(recording)), file_name_(std::move(file_name)) {}

void Replayer::Mismatch(const std::string& asked) const {
  const std::string held = next_ < recording_.entries.size()
                               ? DescribeEntry(recording_.entries[next_])
                               : "nichts mehr (sie ist zu Ende)";
  throw RecordingError("Die Aufzeichnung „" + file_name_ +
                       "“ passt nicht zu diesem Programm: Es verlangt als Nächstes: " + asked +
                       "; in der Aufzeichnung steht hier: " + held + ".");
}

InputFrame Replayer::NextFrame(const std::function<void(const std::string&)>& on_shot) {
  while (next_ < recording_.entries.size()) {
    const RecordEntry& entry = recording_.entries[next_];
    if (const auto* shot = std::get_if<RecordedShot>(&entry)) {
      on_shot(shot->name);
      ++next_;
      continue;
    }
    if (const auto* frame = std::get_if<InputFrame>(&entry)) {
      ++next_;
      return *frame;
    }
    break;
  }
  // The recorded headless run was stopped here for running past its script.
  if (next_ == recording_.entries.size() && recording_.exit_status == kHeadlessTimeoutStatus) {
    throw HeadlessTimeout(file_name_ +
                          ": das aufgezeichnete Programm lief hier 60 s nach dem "
                          "letzten Ereignis seines Skripts");
  }
  Mismatch("ein Eingabeschritt");
}

RecordedAnswer Replayer::NextAnswer(RecordedAnswer::Kind kind, const std::string& subject) {
  RecordedAnswer wanted;
  wanted.kind = kind;
  if (next_ < recording_.entries.size()) {
    if (const auto* answer = std::get_if<RecordedAnswer>(&recording_.entries[next_]);
        answer != nullptr && answer->kind == kind && answer->subject == subject) {
      ++next_;
      return *answer;
    }
  }
  Mismatch(DescribeEntry(wanted) + (subject.empty() ? "" : " („" + subject + "“)"));
}

void Replayer::Finish(int exit_status) const {
  if (next_ < recording_.entries.size()) Mismatch("nichts mehr (das Programm endet)");
  if (exit_status != recording_.exit_status) {
    throw RecordingError("Die Aufzeichnung „" + file_name_ +
                         "“ passt nicht zu diesem Programm: es endet mit Status " +
                         std::to_string(exit_status) + ", die Aufzeichnung mit Status " +
                         std::to_string(recording_.exit_status) + ".");
  }
}

}  // namespace mw
