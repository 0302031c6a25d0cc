#pragma once
// The seam between the game and the machine: every operation the game needs of
// the window system, the clock, the input devices and the sound card.
// SdlPlatform is the real one; HeadlessPlatform runs from a script with a
// virtual clock. Nothing above this folder includes SDL.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/event_log.h"
#include "platform/surface.h"
#include "platform/types.h"

namespace mw {

struct SoundData;  // a decoded effect, owned by the platform's sound code
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
  // Non-zero while the display is lost (window minimised or hidden).
  virtual int DisplayStatus() = 0;
  // Surface memory back after a loss (nothing to do for software surfaces).
  virtual void RestoreSurfaces() = 0;
  // During a game the system cursor is hidden and the mouse kept inside the
  // window; outside a game both are normal again.
  virtual void SetGameMode(bool in_game) = 0;

  // --- input and time ---
  // Processes pending window messages; typed characters reach the key-press
  // handler here (Windows-1252 codes, Backspace 8, Tab 9, Enter 13, Escape 27).
  virtual void Yield() = 0;
  // True when the key or button is down now or was pressed since the last
  // KeyDown of the same code.
  virtual bool KeyDown(int virtual_key) = 0;
  // Mouse position in screen pixels, clamped to 0..639 and 0..479.
  virtual Point MousePosition() = 0;
  // Milliseconds, rising; the first reading is above 10000.
  virtual std::int64_t ReadClock() = 0;
  // True once the window was asked to close (close button, SIGINT, SIGTERM,
  // or the script's `close`); stays true.
  virtual bool QuitRequested() = 0;
  void SetKeyPressHandler(std::function<void(int)> handler) { key_press_ = std::move(handler); }

  // --- sound ---
  // Opens the default sound device; false when there is none.
  virtual bool OpenSoundDevice() = 0;
  // Decodes the embedded WAV effect of that name. Throws RuntimeError.
  virtual SoundBuffer LoadSound(std::string_view asset) = 0;
  // Plays the effect once on a channel 0..99; a play on a channel replaces
  // what that channel held.
  virtual void PlaySound(int channel, const SoundBuffer& sound) = 0;

  // --- messages ---
  // A modal message box with an OK button; returns when confirmed.
  // Texts are Windows-1252.
  virtual void ShowMessageBox(std::string_view title, std::string_view text) = 0;

  // --- files ---
  // The folder that holds the program file, ending in "/".
  virtual std::string ProgramFolder() = 0;
  // The per-user data folder for this game (created if needed), ending in "/";
  // empty when there is none.
  virtual std::string UserDataFolder() = 0;

  EventLog& Events() { return events_; }

 protected:
  void TypeCharacter(int code) {
    if (key_press_) key_press_(code);
  }
  EventLog events_;

 private:
  std::function<void(int)> key_press_;
};

}  // namespace mw
