#include "game/sounds.h"

#include <string>
#include <string_view>

#include "errors/runtime_error.h"
#include "game/frame_rules.h"

namespace mw {
namespace {

// Effect number -> asset; number 2 has no sound.
constexpr std::array<std::string_view, 8> kSoundAssets{"20.pdk", "21.pdk", "",       "22.pdk",
                                                       "23.pdk", "24.pdk", "25.pdk", "26.pdk"};

// Thrown alike for a number without an effect, whether a game asks to play
// it or the loop finds it not loaded.
void CheckSoundNumber(int number) {
  if (number < 0 || static_cast<std::size_t>(number) >= kSoundAssets.size() ||
      kSoundAssets[static_cast<std::size_t>(number)].empty()) {
    throw IndexOutOfRange("Sound " + std::to_string(number));
  }
}

}  // namespace

GameSounds LoadGameSounds(Platform& platform) {
  GameSounds sounds{};
  for (std::size_t n = 0; n < kSoundAssets.size(); ++n) {
    if (!kSoundAssets[n].empty()) sounds[n] = platform.LoadSound(kSoundAssets[n]);
  }
  return sounds;
}

const SoundBuffer& LoadedSound(const GameSounds& sounds, int number) {
  CheckSoundNumber(number);
  const SoundBuffer& sound = sounds[static_cast<std::size_t>(number)];
  if (!sound) throw IndexOutOfRange("Sound " + std::to_string(number));
  return sound;
}

void PlayEffect(GameContext& ctx, Sound effect) {
  const int number = static_cast<int>(effect);
  RunGameState& game = ctx.game;
  game.sound_channel = (game.sound_channel + 1) % 100;
  CheckSoundNumber(number);
  ctx.out.PlaySound(number, game.sound_channel);
}

}  // namespace mw
