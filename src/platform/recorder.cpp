#include "platform/recorder.h"

#include <cerrno>
#include <chrono>
#include <span>

#include "platform/file_storage.h"
#include "platform/runtime_error.h"

namespace mw {
namespace {

// Real time, not the run's clock: a headless run's seconds pass much faster.
constexpr auto kSyncEvery = std::chrono::seconds(1);

std::span<const std::uint8_t> BytesOf(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

void Recorder::FileCloser::operator()(std::FILE* f) const {
  std::fclose(f);
}

Recorder::Recorder(const std::string& path) : path_(path) {
  std::string reason;
  std::FILE* f = OpenStreamForWriting(path, reason);
  if (f == nullptr) {
    throw RuntimeError("Die Aufzeichnung „" + path + "“ kann nicht angelegt werden: " + reason);
  }
  out_.reset(f);
  Write(RecordingHeader());
  Sync();
}

Recorder::~Recorder() = default;

void Recorder::Write(const std::string& bytes) {
  if (failed_ || !out_) return;
  crc_ = RecordingCrc(BytesOf(bytes), crc_);
  if (std::fwrite(bytes.data(), 1, bytes.size(), out_.get()) != bytes.size()) {
    Fail(FileErrorReason(errno));
  }
}

void Recorder::Sync() {
  if (failed_ || !out_) return;
  if (const std::string reason = SyncStreamToDisk(out_.get()); !reason.empty()) Fail(reason);
}

// The game goes on; only the recording is lost, and the player is told once.
void Recorder::Fail(const std::string& reason) {
  failed_ = true;
  std::fprintf(stderr, "moewenschuss: Die Aufzeichnung „%s“ kann nicht geschrieben werden: %s\n",
               path_.c_str(), reason.c_str());
}

void Recorder::Frame(const InputFrame& frame) {
  std::string record;
  AppendFrameRecord(record, last_frame_, frame);
  last_frame_ = frame;
  Write(record);
  const auto now = std::chrono::steady_clock::now();
  if (now - last_sync_ >= kSyncEvery) {
    last_sync_ = now;
    Sync();
  }
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
  out_.reset();
}

}  // namespace mw
