#pragma once
// A decoded sound effect. The window platform plays it through SDL2_mixer;
// the headless platform only keeps the decoded samples.

#include <SDL.h>
#include <SDL_mixer.h>

#include <string_view>

#include "platform/live_count.h"
#include "platform/platform.h"

namespace mw {

struct SoundData {
  SoundData() = default;
  SoundData(const SoundData&) = delete;
  SoundData& operator=(const SoundData&) = delete;
  ~SoundData();

  Mix_Chunk* chunk = nullptr;  // for the mixer
  Uint8* samples = nullptr;    // from SDL_LoadWAV_RW
  Uint32 length = 0;
  SDL_AudioSpec format{};
  LiveCount::Mark mark;  // counts it among its platform's live sounds
};

// The embedded WAV asset of that name, decoded (16-bit PCM or MS ADPCM).
// Throws RuntimeError when it is missing or cannot be decoded.
SoundBuffer DecodeSound(std::string_view asset, LiveCount::Mark mark);

// The embedded WAV asset of that name as a mixer chunk, converted to the open
// device's format. Throws RuntimeError.
SoundBuffer LoadMixerSound(std::string_view asset, LiveCount::Mark mark);

// The mixer's channels stand for a ring of this many copies of the effects.
constexpr int kSoundChannels = 100;

// Throws RuntimeError unless the channel is 0..99 and the sound is loaded.
void CheckPlayable(int channel, const SoundBuffer& sound);

}  // namespace mw
