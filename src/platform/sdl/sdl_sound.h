#pragma once
// The game's effects through SDL2_mixer, on the desktop and in the browser: a
// ring of 100 channels, each effect at a quarter of its level, and the
// limiter after the mix bringing the sum up to half without clipping.

#include <memory>

#include "audio/sound_limiter.h"
#include "platform/platform.h"

namespace mw {

class MixerSound {
 public:
  MixerSound() = default;
  ~MixerSound();
  MixerSound(const MixerSound&) = delete;
  MixerSound& operator=(const MixerSound&) = delete;

  // Opens the default device; false when there is none.
  bool Open();
  // Stops every effect and closes the device (before SDL itself ends).
  void Close();
  bool IsOpen() const { return open_; }
  // Plays a loaded effect on a channel 0..99. Throws RuntimeError.
  void Play(int channel, const SoundBuffer& sound);

 private:
  bool open_ = false;
  std::unique_ptr<SoundLimiter> limiter_;  // used by the audio thread while the device is open
};

}  // namespace mw
