#include "input/recorder.h"

#include <span>

namespace mw {
namespace {

std::span<const std::uint8_t> BytesOf(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

Recorder::Recorder(RecordingOutput output, std::function<void(const std::string&)> on_failure)
    : output_(std::move(output)), on_failure_(std::move(on_failure)) {
  Write(RecordingHeader());
  Sync();
}

void Recorder::Write(const std::string& bytes) {
  if (failed_) return;
  crc_ = RecordingCrc(BytesOf(bytes), crc_);
  if (const std::string reason = output_.append(bytes); !reason.empty()) Fail(reason);
}

void Recorder::Sync() {
  if (failed_) return;
  if (const std::string reason = output_.sync(); !reason.empty()) Fail(reason);
}

// The game goes on; only the recording is lost, and the player is told once.
void Recorder::Fail(const std::string& reason) {
  failed_ = true;
  if (on_failure_) on_failure_(reason);
}

void Recorder::Frame(const InputFrame& frame) {
  std::string record;
  AppendFrameRecord(record, last_frame_, frame);
  last_frame_ = frame;
  Write(record);
}

void Recorder::Shot(const std::string& name) {
  std::string record;
  AppendShotRecord(record, name);
  Write(record);
}

void Recorder::Answer(const RecordedAnswer& answer) {
  std::string record;
  AppendAnswerRecord(record, answer);
  Write(record);
}

void Recorder::Finish(int exit_status) {
  std::string record;
  AppendEndRecord(record, exit_status, crc_);
  Write(record);
  Sync();
}

}  // namespace mw
