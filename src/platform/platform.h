#pragma once
// The seam between the game and the machine: every operation the game needs of
// the window system, the clock, the input devices, the sound card and the
// files. SdlPlatform is the real one; HeadlessPlatform runs from a script with
// a virtual clock. Nothing above this folder includes SDL or asks the system
// anything.
//
// What can change a run's course (the input frames and every answer from
// outside) passes through the non-virtual functions here, so that it can be
// recorded and replayed whatever the platform.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "drawing/drawing_types.h"
#include "input/input_frame.h"
#include "platform/os/file_storage.h"
#include "platform/surface.h"
#include "script/event_log.h"

namespace mw {

struct SoundData;  // a decoded effect, owned by the platform's sound code
class Recorder;
class Replayer;
using SoundBuffer = std::shared_ptr<const SoundData>;

class Platform {
 public:
  virtual ~Platform() = default;

  // --- display ---
  // Opens the window (or the headless screen) showing 640x480.
  virtual void OpenDisplay() = 0;
  // Gives the display back (window closed, desktop as before).
  virtual void CloseDisplay() = 0;
  // The display's 16-bit layout; every surface is made in it.
  virtual PixelFormat DisplayFormat() const = 0;
  // A new surface of w x h in the display's layout, filled with 0.
  virtual Surface MakeSurface(int width, int height) = 0;
  // The embedded picture of that name (any case), converted to the display's
  // layout and scaled to w x h with nearest-neighbour. Throws RuntimeError.
  virtual Surface ImageSurface(std::string_view asset, int width, int height) = 0;
  // Shows the visible rectangle (640x480) of the back buffer; paced to ~60 per
  // second.
  virtual void Flip(const Surface& back_buffer, Rect visible) = 0;
  // Surface memory back after a loss (nothing to do for software surfaces).
  virtual void RestoreSurfaces() = 0;
  // During a game the mouse is kept inside the window (in full screen it
  // always is). The system cursor never shows over the game's pictures,
  // which draw their own.
  virtual void SetGameMode(bool in_game) = 0;

  // --- input and time ---
  // Samples the input once for a pass: keys, mouse, clock, typed characters,
  // the close request and the display's state. Nothing above the platform
  // asks for input in any other way, so a recording of these values repeats
  // a run exactly.
  InputFrame ReadInput();
  // About one millisecond of rest, for waits that poll without drawing.
  virtual void Pause() = 0;

  // --- sound ---
  // Opens the default sound device; false when there is none.
  bool OpenSoundDevice();
  // Decodes the embedded WAV effect of that name. Throws RuntimeError.
  virtual SoundBuffer LoadSound(std::string_view asset) = 0;
  // Plays the effect once on a channel 0..99; a play on a channel replaces
  // what that channel held.
  virtual void PlaySound(int channel, const SoundBuffer& sound) = 0;

  // --- messages ---
  // A modal message box with an OK button; returns when confirmed.
  // Texts are Windows-1252. Logged as a `messagebox` event.
  void ShowMessageBox(std::string_view title, std::string_view text);

  // --- files and environment ---
  // The folder that holds the program file, ending in a separator.
  std::string ProgramFolder();
  // The per-user data folder for this game (created if needed), ending in a
  // separator; empty when there is none.
  std::string UserDataFolder();
  // The value of an environment variable; empty when it is not set.
  std::string EnvironmentVariable(const std::string& name);
  // True when new files can be made in the folder.
  bool FolderIsWritable(const std::string& folder);
  // At most max_bytes from the start of the file (see ReadFilePrefix).
  FileReadResult ReadFile(const std::string& path, std::size_t max_bytes);
  // Replaces the file so that a crash leaves the old or the new contents; the
  // reason when it failed, else empty (see ReplaceFileDurably).
  std::string ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes);

  EventLog& Events() { return events_; }

  // --- recording and replaying ---
  // From now on every input frame and every answer from outside is written
  // to the recorder too. The recorder must outlive the platform's use.
  void StartRecording(Recorder* recorder) { recorder_ = recorder; }
  // From now on the input and the answers from outside come from the
  // replayer; the machine is asked only for the display and the sound.
  void StartReplay(Replayer* replayer) { replayer_ = replayer; }
  bool Replaying() const { return replayer_ != nullptr; }

 protected:
  // The platform's own side of the operations above.
  virtual InputFrame SampleInput() = 0;
  virtual bool OpenSoundDeviceNow() = 0;
  virtual void ShowMessageBoxNow(std::string_view title, std::string_view text) = 0;
  virtual std::string ProgramFolderNow() = 0;
  virtual std::string UserDataFolderNow() = 0;
  // The next frame shown is kept as DIR/NAME.png, where the platform keeps
  // pictures (a headless run's `shot`).
  virtual void RequestShot(const std::string& name) { static_cast<void>(name); }
  // A headless script asked for a picture: recorded, so a replay takes it too.
  void NoteShotRequest(const std::string& name);

  EventLog events_;

 private:
  void KeepReplayPace(std::int64_t recorded_clock);

  Recorder* recorder_ = nullptr;
  Replayer* replayer_ = nullptr;
  bool pace_anchored_ = false;
  std::int64_t live_anchor_ = 0;
  std::int64_t recorded_anchor_ = 0;
};

}  // namespace mw
