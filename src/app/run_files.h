#pragma once
// The files the command line names for a run: the headless script, the
// recording to replay, the event log and the recording to write. Each failure
// is a German message naming the file and the reason.

#include <memory>
#include <string>

#include "input/recorder.h"
#include "input/replayer.h"
#include "platform/os/output_file.h"
#include "script/event_log.h"
#include "script/script.h"

namespace mw {

// Reads and parses a script file; throws ScriptError ("FILE: reason" when the
// file cannot be read, "FILE:LINE: message" for a bad line).
Script LoadScript(const std::string& path);

// Reads and checks a whole recording; throws RecordingError.
Replayer LoadRecording(const std::string& path);

// The event log's lines go to the file as they are logged. Throws
// RuntimeError when the file cannot be made.
void WriteEventLogTo(EventLog& log, OutputFile& file, const std::string& path);

// A recorder writing into a new file, synced at least once a second; a
// failure while recording is told once on `err`. Throws RuntimeError when
// the file cannot be made.
std::unique_ptr<Recorder> RecordInto(OutputFile& file, const std::string& path, std::ostream& err);

}  // namespace mw
