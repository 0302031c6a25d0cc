#include "platform/sdl/sdl_sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "errors/runtime_error.h"
#include "platform/sdl/sdl_surfaces.h"
#include "platform/sdl/sound_data.h"

namespace mw {
namespace {

// Each effect's channel volume (of 128), and what the limiter multiplies the
// mix by: a lone effect sounds at half its recorded level.
constexpr int kEffectVolume = MIX_MAX_VOLUME / 4;
constexpr float kMixGain = 2.0f;

}  // namespace

MixerSound::~MixerSound() {
  Close();
}

void MixerSound::Close() {
  if (!open_) return;
  Mix_HaltChannel(-1);
  Mix_SetPostMix(nullptr, nullptr);
  Mix_CloseAudio();
  limiter_.reset();
  open_ = false;
}

bool MixerSound::Open() {
  if (open_) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  // A ring of channels: each effect plays on its own until the ring comes round.
  Mix_AllocateChannels(kSoundChannels);
  // Effects overlap a lot (a machine-gun burst, splats, reloads): mixed at
  // full level they summed far beyond full scale and clipped. Every effect
  // is mixed at a quarter, which keeps their levels to each other, and the
  // limiter brings the sum up to half, lowering it smoothly where it would
  // still come near full scale.
  Mix_Volume(-1, kEffectVolume);
  int rate = 0;
  Uint16 format = 0;
  int channels = 0;
  if (Mix_QuerySpec(&rate, &format, &channels) != 0 && format == AUDIO_S16SYS) {
    limiter_ = std::make_unique<SoundLimiter>(channels, rate, kMixGain);
    Mix_SetPostMix(
        [](void* limiter, Uint8* stream, int length) {
          static_cast<SoundLimiter*>(limiter)->Process(
              {reinterpret_cast<std::int16_t*>(stream), static_cast<std::size_t>(length) / 2});
        },
        limiter_.get());
  }
  open_ = true;
  return true;
}

void MixerSound::Play(int channel, const SoundBuffer& sound) {
  CheckPlayable(channel, sound);
  if (sound->chunk == nullptr) {
    throw RuntimeError("Der Klang wurde nicht für das Audiogerät geladen");
  }
  if (!open_) throw RuntimeError("Klang ohne geöffnetes Audiogerät");
  if (Mix_PlayChannel(channel, sound->chunk, 0) < 0) {
    throw RuntimeError(WithSdlError("Ein Klang kann nicht gespielt werden"));
  }
}

}  // namespace mw
