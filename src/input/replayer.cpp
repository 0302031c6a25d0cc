#include "input/replayer.h"

#include <utility>

namespace mw {
namespace {

// The exit status of a headless run that went on past its script.
constexpr int kScriptEndedStatus = 3;

}  // namespace

Replayer::Replayer(std::vector<std::uint8_t> bytes, std::string file_name)
    : recording_(std::move(bytes), std::move(file_name)) {}

void Replayer::NoteMismatch(const std::string& asked) {
  if (mismatch_) return;
  const RecordEntry* held = recording_.Current();
  mismatch_ = "Die Aufzeichnung „" + recording_.FileName() +
              "“ passt nicht zu diesem Programm: Es verlangt als Nächstes: " + asked +
              "; in der Aufzeichnung steht hier: " +
              (held != nullptr ? DescribeEntry(*held) : "nichts mehr (sie ist zu Ende)") + ".";
}

std::optional<std::int64_t> Replayer::NextFrameClock() const {
  if (mismatch_) return std::nullopt;
  return recording_.NextFrameClock();
}

InputSample Replayer::NextFrame(const std::function<void(const std::string&)>& on_shot) {
  while (!mismatch_) {
    const RecordEntry* entry = recording_.Current();
    if (entry == nullptr) break;
    if (const auto* shot = std::get_if<RecordedShot>(entry)) {
      on_shot(shot->name);
      recording_.Advance();
      continue;
    }
    if (const auto* frame = std::get_if<InputFrame>(entry)) {
      InputSample sample{InputSample::Status::kFrame, *frame, {}, {}};
      recording_.Advance();
      return sample;
    }
    break;
  }
  InputSample none;
  // The recorded headless run was stopped here for running past its script.
  if (!mismatch_ && recording_.Current() == nullptr &&
      recording_.ExitStatus() == kScriptEndedStatus) {
    none.status = InputSample::Status::kScriptEnded;
    none.message = recording_.FileName() +
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
  if (!mismatch_) {
    if (const RecordEntry* entry = recording_.Current(); entry != nullptr) {
      if (const auto* answer = std::get_if<RecordedAnswer>(entry);
          answer != nullptr && answer->kind == kind && answer->subject == subject) {
        RecordedAnswer given = *answer;
        recording_.Advance();
        return given;
      }
    }
  }
  NoteMismatch(DescribeEntry(RecordedAnswer{kind, {}, 0, {}, {}}) +
               (subject.empty() ? "" : " („" + subject + "“)"));
  RecordedAnswer neutral;
  neutral.kind = kind;
  neutral.subject = subject;
  return neutral;
}

std::optional<std::string> Replayer::Finish(int exit_status) const {
  if (mismatch_) return mismatch_;
  const std::string& file_name = recording_.FileName();
  if (const RecordEntry* left = recording_.Current(); left != nullptr) {
    return "Die Aufzeichnung „" + file_name +
           "“ passt nicht zu diesem Programm: Es verlangt als Nächstes: nichts mehr (das "
           "Programm endet); in der Aufzeichnung steht hier: " +
           DescribeEntry(*left) + ".";
  }
  if (exit_status != recording_.ExitStatus()) {
    return "Die Aufzeichnung „" + file_name + "“ passt nicht zu diesem Programm: es endet mit " +
           "Status " + std::to_string(exit_status) + ", die Aufzeichnung mit Status " +
           std::to_string(recording_.ExitStatus()) + ".";
  }
  return std::nullopt;
}

}  // namespace mw
