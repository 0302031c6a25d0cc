#include "platform/recorder.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <span>

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
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) {
    throw RuntimeError("Die Aufzeichnung „" + path +
                       "“ kann nicht angelegt werden: " + std::strerror(errno));
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
    // The game goes on; only the recording is lost, and the player is told.
    failed_ = true;
    std::fprintf(stderr, "moewenschuss: Die Aufzeichnung „%s“ kann nicht geschrieben werden: %s\n",
                 path_.c_str(), std::strerror(errno));
  }
}

void Recorder::Sync() {
  if (failed_ || !out_) return;
  if (std::fflush(out_.get()) != 0 || ::fsync(::fileno(out_.get())) != 0) {
    if (errno == EINVAL || errno == EROFS) return;  // a pipe or the like: nothing to sync
    failed_ = true;
    std::fprintf(stderr, "moewenschuss: Die Aufzeichnung „%s“ kann nicht geschrieben werden: %s\n",
                 path_.c_str(), std::strerror(errno));
  }
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
