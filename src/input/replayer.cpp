#include "input/replayer.h"

#include <utility>

namespace mw {
namespace {

// The exit status of a headless run that went on past its script.
constexpr int kScriptEndedStatus = 3;

}  // namespace

Replayer::Replayer(Recording recording, std::string file_name)
    : recording_(std::move(recording)), file_name_(std::move(file_name)) {}

void Replayer::NoteMismatch(const std::string& asked) {
  if (mismatch_) return;
  const std::string held = next_ < recording_.entries.size()
                               ? DescribeEntry(recording_.entries[next_])
                               : "nichts mehr (sie ist zu Ende)";
  mismatch_ = "Die Aufzeichnung „" + file_name_ +
              "“ passt nicht zu diesem Programm: Es verlangt als Nächstes: " + asked +
              "; in der Aufzeichnung steht hier: " + held + ".";
}

std::optional<std::int64_t> Replayer::NextFrameClock() const {
  for (std::size_t at = next_; !mismatch_ && at < recording_.entries.size(); ++at) {
    const RecordEntry& entry = recording_.entries[at];
    if (std::holds_alternative<RecordedShot>(entry)) continue;
    if (const auto* frame = std::get_if<InputFrame>(&entry)) return frame->clock;
    break;
  }
  return std::nullopt;
}

InputSample Replayer::NextFrame(const std::function<void(const std::string&)>& on_shot) {
  while (!mismatch_ && next_ < recording_.entries.size()) {
    const RecordEntry& entry = recording_.entries[next_];
    if (const auto* shot = std::get_if<RecordedShot>(&entry)) {
      on_shot(shot->name);
      ++next_;
      continue;
    }
    if (const auto* frame = std::get_if<InputFrame>(&entry)) {
      ++next_;
      return {InputSample::Status::kFrame, *frame, {}, {}};
    }
    break;
  }
  InputSample none;
  // The recorded headless run was stopped here for running past its script.
  if (!mismatch_ && next_ == recording_.entries.size() &&
      recording_.exit_status == kScriptEndedStatus) {
    none.status = InputSample::Status::kScriptEnded;
    none.message = file_name_ +
                   ": das aufgezeichnete Programm lief hier 60 s nach dem letzten Ereignis "
                   "seines Skripts";
    return none;
  }
  NoteMismatch("ein Eingabeschritt");
  none.status = InputSample::Status::kRecordingEnded;
  none.message = *mismatch_;
  return none;
}

RecordedAnswer Replayer::NextAnswer(RecordedAnswer::Kind kind, const std::string& subject) {
  RecordedAnswer wanted;
  wanted.kind = kind;
  wanted.subject = subject;
  if (!mismatch_ && next_ < recording_.entries.size()) {
    if (const auto* answer = std::get_if<RecordedAnswer>(&recording_.entries[next_]);
        answer != nullptr && answer->kind == kind && answer->subject == subject) {
      ++next_;
      return *answer;
    }
  }
  NoteMismatch(DescribeEntry(RecordedAnswer{kind, {}, 0, {}, {}}) +
               (subject.empty() ? "" : " („" + subject + "“)"));
  return wanted;
}

std::optional<std::string> Replayer::Finish(int exit_status) const {
  if (mismatch_) return mismatch_;
  if (next_ < recording_.entries.size()) {
    return "Die Aufzeichnung „" + file_name_ +
           "“ passt nicht zu diesem Programm: Es verlangt als Nächstes: nichts mehr (das "
           "Programm endet); in der Aufzeichnung steht hier: " +
           DescribeEntry(recording_.entries[next_]) + ".";
  }
  if (exit_status != recording_.exit_status) {
    return "Die Aufzeichnung „" + file_name_ + "“ passt nicht zu diesem Programm: es endet mit " +
           "Status " + std::to_string(exit_status) + ", die Aufzeichnung mit Status " +
           std::to_string(recording_.exit_status) + ".";
  }
  return std::nullopt;
}

}  // namespace mw
