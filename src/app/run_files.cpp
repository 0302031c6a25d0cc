#include "app/run_files.h"

#include <ostream>
#include <string_view>
#include <utility>

#include "errors/runtime_error.h"
#include "platform/os/file_storage.h"

namespace mw {
namespace {

// Far more than any script or recording of a long game, and little enough to
// read at once.
constexpr std::size_t kMaxScriptBytes = 64u << 20;
constexpr std::size_t kMaxRecordingBytes = 256u << 20;

std::string_view TextOf(const std::vector<std::uint8_t>& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

Script LoadScript(const std::string& path) {
  const FileReadResult read = ReadFilePrefix(path, kMaxScriptBytes + 1);
  const std::string cannot = path + ": die Datei kann nicht gelesen werden: ";
  if (read.status == FileReadResult::Status::kMissing) {
    throw ScriptError(cannot + "sie existiert nicht");
  }
  if (read.status == FileReadResult::Status::kFailed) throw ScriptError(cannot + read.reason);
  if (read.bytes.size() > kMaxScriptBytes) throw ScriptError(cannot + "sie ist zu groß");
  return ParseScript(TextOf(read.bytes), path);
}

Replayer LoadRecording(const std::string& path) {
  FileReadResult read = ReadFilePrefix(path, kMaxRecordingBytes + 1);
  const std::string start = "Die Aufzeichnung „" + path + "“ kann nicht abgespielt werden: ";
  if (read.status == FileReadResult::Status::kMissing) {
    throw RecordingError(start + "sie existiert nicht.");
  }
  if (read.status == FileReadResult::Status::kFailed) {
    throw RecordingError(start + read.reason + ".");
  }
  if (read.bytes.size() > kMaxRecordingBytes) throw RecordingError(start + "sie ist zu groß.");
  return Replayer(std::move(read.bytes), path);
}

void WriteEventLogTo(EventLog& log, OutputFile& file, const std::string& path) {
  if (const std::string reason = file.Open(path, false); !reason.empty()) {
    throw RuntimeError("Das Ereignisprotokoll \"" + path +
                       "\" kann nicht angelegt werden: " + reason);
  }
  log.WriteTo([&file](std::string_view line) {
    // Flushed line by line: a crash must not lose what was logged before it.
    std::string reason = file.Write(line);
    if (reason.empty()) reason = file.Flush();
    if (!reason.empty()) {
      throw RuntimeError("Das Ereignisprotokoll kann nicht geschrieben werden: " + reason);
    }
  });
}

std::unique_ptr<Recorder> RecordInto(OutputFile& file, const std::string& path, std::ostream& err) {
  if (const std::string reason = file.Open(path, true); !reason.empty()) {
    throw RuntimeError("Die Aufzeichnung „" + path + "“ kann nicht angelegt werden: " + reason);
  }
  RecordingOutput output{[&file](std::string_view bytes) { return file.Write(bytes); },
                         [&file] { return file.SyncToDisk(); }};
  return std::make_unique<Recorder>(std::move(output), [&err, path](const std::string& reason) {
    err << "moewenschuss: Die Aufzeichnung „" << path
        << "“ kann nicht geschrieben werden: " << reason << '\n';
  });
}

}  // namespace mw
