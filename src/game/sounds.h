#pragma once
// The game's seven sound effects, loaded from the embedded assets at the
// start of every game, by the numbers the event log gives them (number 2 has
// no sound).

#include <array>

#include "platform/platform.h"

namespace mw {

using GameSounds = std::array<SoundBuffer, 8>;

// Decodes every effect for the sound device that is open.
GameSounds LoadGameSounds(Platform& platform);
// The loaded effect of a number; throws IndexOutOfRange ("Sound N") for a
// number without an effect or not loaded, as asking to play one does.
const SoundBuffer& LoadedSound(const GameSounds& sounds, int number);

}  // namespace mw
