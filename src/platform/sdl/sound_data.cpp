#include "platform/sdl/sound_data.h"

#include <string>

#include "embedded/embedded_files.h"
#include "errors/runtime_error.h"
#include "platform/sdl/sdl_surfaces.h"

namespace mw {
namespace {

const EmbeddedFile& SoundAsset(std::string_view asset) {
  const EmbeddedFile* file = FindEmbeddedFile(asset);
  if (file == nullptr) {
    throw RuntimeError("Der Klang \"" + std::string(asset) + "\" fehlt im Programm");
  }
  return *file;
}

SDL_RWops* ReadFrom(const EmbeddedFile& file) {
  SDL_RWops* rw = SDL_RWFromConstMem(file.data, static_cast<int>(file.size));
  if (rw == nullptr) throw RuntimeError(WithSdlError(std::string("Der Klang ") + file.name));
  return rw;
}

}  // namespace

SoundData::~SoundData() {
  if (chunk != nullptr) Mix_FreeChunk(chunk);
  if (samples != nullptr) SDL_FreeWAV(samples);
}

void CheckPlayable(int channel, const SoundBuffer& sound) {
  if (channel < 0 || channel >= kSoundChannels) {
    throw IndexOutOfRange("Klangkanal " + std::to_string(channel));
  }
  if (!sound) {
    throw ObjectNotSet();
  }
}

SoundBuffer DecodeSound(std::string_view asset, LiveCount::Mark mark) {
  const EmbeddedFile& file = SoundAsset(asset);
  auto sound = std::make_shared<SoundData>();
  if (SDL_LoadWAV_RW(ReadFrom(file), 1, &sound->format, &sound->samples, &sound->length) ==
      nullptr) {
    throw RuntimeError(
        WithSdlError("Der Klang \"" + std::string(asset) + "\" kann nicht gelesen werden"));
  }
  sound->mark = std::move(mark);
  return sound;
}

SoundBuffer LoadMixerSound(std::string_view asset, LiveCount::Mark mark) {
  const EmbeddedFile& file = SoundAsset(asset);
  auto sound = std::make_shared<SoundData>();
  sound->chunk = Mix_LoadWAV_RW(ReadFrom(file), 1);
  if (sound->chunk == nullptr) {
    throw RuntimeError(
        WithSdlError("Der Klang \"" + std::string(asset) + "\" kann nicht gelesen werden"));
  }
  sound->mark = std::move(mark);
  return sound;
}

}  // namespace mw
