#include <array>
#include <string>
#include <string_view>

#include "errors/runtime_error.h"
#include "game/phases.h"

namespace mw {
namespace {

// Effect number -> asset; number 2 has no sound.
constexpr std::array<std::string_view, 8> kSoundAssets{"20.pdk", "21.pdk", "",       "22.pdk",
                                                       "23.pdk", "24.pdk", "25.pdk", "26.pdk"};

}  // namespace

bool OpenSounds(Platform& platform, GameState& game) {
  if (!platform.OpenSoundDevice()) return false;
  for (std::size_t n = 0; n < kSoundAssets.size(); ++n) {
    if (kSoundAssets[n].empty()) continue;
    game.sounds.sound_buffers[n] = SoundBuffer();
    game.sounds.sound_buffers[n] = platform.LoadSound(kSoundAssets[n]);
  }
  return true;
}

void PlayEffect(GameContext& ctx, Sound effect) {
  const int number = static_cast<int>(effect);
  SoundTable& sounds = ctx.game.sounds;
  sounds.play_index = (sounds.play_index + 1) % 100;
  if (number < 0 || number > 7 || !sounds.sound_buffers[static_cast<std::size_t>(number)]) {
    throw IndexOutOfRange("Sound " + std::to_string(number));
  }
  ctx.platform.Events().Sound(number);
  // Each play takes the next of 100 channels, so up to 100 effects sound at
  // once and a play replaces the one made a hundred plays before.
  ctx.platform.PlaySound(sounds.play_index, sounds.sound_buffers[static_cast<std::size_t>(number)]);
}

}  // namespace mw
