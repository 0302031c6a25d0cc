#pragma once
// The seam between the program and the machine: the display, the pictures it
// presents and the pace of the passes, the input, the sound card, message
// boxes where the game's window cannot show them, and the questions of
// Outside. SdlPlatform is the real one; HeadlessPlatform runs from a script
// with a virtual clock. Nothing outside this folder includes SDL or asks the
// system anything.
//
// What can change a run's course (the input samples and every answer from
// outside) passes through the functions here, so that a RecordingPlatform or
// a ReplayingPlatform wrapped around any platform records or replays it.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "drawing/drawing_types.h"
#include "input/input_context.h"
#include "input/input_frame.h"
#include "platform/outside.h"
#include "platform/surface.h"

namespace mw {

struct SoundData;  // a decoded effect, owned by the platform's sound code
using SoundBuffer = std::shared_ptr<const SoundData>;

// What the platform holds from SDL at one moment; a long run checks that none
// of it piles up from game to game.
struct LiveResources {
  int surfaces = 0;
  int textures = 0;
  int sounds = 0;
  int fonts = 0;
  int rendered_texts = 0;  // the text cache's strings
};

class Platform : public Outside {
 public:
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
  // Shows the visible rectangle (640x480) of the back buffer at once.
  virtual void Present(const Surface& back_buffer, Rect visible) = 0;
  // A copy of the picture on screen (black before the first Present).
  virtual Surface PictureOnScreen() = 0;
  // Surface memory back after a loss (nothing to do for software surfaces).
  virtual void RestoreSurfaces() = 0;
  // During a game the mouse is kept inside the window (in full screen it
  // always is). The system cursor never shows over the game's pictures,
  // which draw their own; it does over a message box.
  virtual void SetGameMode(bool in_game) = 0;
  virtual void SetMessageBoxMode(bool box_shown) = 0;
  // The size of a text in the platform's fonts, for layouts.
  virtual int TextWidth(const Font& font, std::string_view cp1252) = 0;
  virtual int TextLineHeight(const Font& font) = 0;
  // The surfaces, textures, sounds, fonts and rendered texts alive now.
  virtual LiveResources CountLiveResources() const = 0;

  // --- the pace of the passes ---
  // After a pass that presented a picture: waits until the next one is due
  // (window: about 60 a second; headless: the virtual clock moves on to the
  // next 1/60 s).
  virtual void WaitForNextFrame() = 0;
  // About one millisecond of rest, for waits that poll without drawing.
  virtual void Pause() = 0;

  // --- input ---
  // Samples the input once for a pass: keys, mouse, clock, typed characters,
  // the close request and the display's state, and what the player asked of
  // the program beside the game; or why there is no frame. It only reads:
  // what was asked is carried out by the loop after the step. Only the
  // program's loop calls it, so a recording of these values repeats a run.
  virtual InputSample ReadInput() = 0;
  // What the screen on top means by a pad's buttons and a finger, told
  // before every sample (see input/hands.h). The desktop also lets the
  // system's text input (an on-screen keyboard) open only while a name is
  // typed.
  virtual void SetInputContext(const InputContext& context) = 0;

  // --- what the player asked beside the game (InputSample::requests) ---
  // F12: the picture on screen kept where the platform keeps pictures.
  virtual void KeepPictureOnScreen() {}
  // Alt+Enter: full screen to a window, or back.
  virtual void SwitchWindowMode() {}
  // A headless script's `shot NAME`: the next picture presented is kept as
  // DIR/NAME.png, where the platform keeps such pictures.
  virtual void KeepNextPicture(const std::string& name) { static_cast<void>(name); }

  // --- sound ---
  // Decodes the embedded WAV effect of that name. Throws RuntimeError. On a
  // device that is not open (a replay watched without sound) it is decoded
  // all the same and never played.
  virtual SoundBuffer LoadSound(std::string_view asset) = 0;
  // Plays the effect once on a channel 0..99; a play on a channel replaces
  // what that channel held.
  virtual void PlaySound(int channel, const SoundBuffer& sound) = 0;

  // --- message boxes ---
  // True when the box is to be shown in the game's window, where the loop
  // draws it and the player confirms it; false when it was confirmed at once
  // (a headless run; or no window open, where the system's own box was shown
  // and confirmed). Texts are Windows-1252.
  virtual bool MessageBoxInWindow(std::string_view title, std::string_view text) = 0;

  // --- answers from outside (Outside) ---
  // By default the machine's files and the process's environment.
  std::string EnvironmentVariable(const std::string& name) override;
  bool FolderIsWritable(const std::string& folder) override;
  FileReadResult ReadFile(const std::string& path, std::size_t max_bytes) override;
  std::string ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) override;

  // --- replaying ---
  // Why the answers given stopped fitting the program (a replayed recording
  // made by another program), once they did.
  virtual std::optional<std::string> ReplayMismatch() const { return std::nullopt; }
};

}  // namespace mw
