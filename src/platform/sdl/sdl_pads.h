#pragma once
// The game pads on the desktop, through SDL's game controllers: SDL maps
// every pad it knows (and those a player maps in SDL_GAMECONTROLLERCONFIG) to
// one layout, and this hands their events to the Hands. Pads come and go at
// any moment; each one open is told apart by SDL's instance id.

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "input/hands.h"

namespace mw {

// When an event stamped `stamp` (the low 32 bits of SDL's millisecond
// clock, which reads `now_ms`) happened, on the clock of the input frames that
// starts at `start_ms`: never before that start.
std::int64_t FrameClockOfStamp(Uint64 now_ms, Uint32 stamp, Uint64 start_ms);

class SdlPads {
 public:
  // Starts SDL's game controllers; SDL must run. Where they cannot start the
  // game still plays with mouse and keyboard, and stderr hears why.
  // `start_ms` is SDL's clock where the input frames' clock starts.
  explicit SdlPads(Uint64 start_ms);
  // Closes every pad (before SDL itself ends).
  ~SdlPads();
  SdlPads(const SdlPads&) = delete;
  SdlPads& operator=(const SdlPads&) = delete;

  // A pad's event goes to the hands at the time it happened; false for any
  // other event.
  bool Take(const SDL_Event& event, Hands& hands);

 private:
  struct OpenPad {
    SDL_JoystickID id;
    SDL_GameController* controller;
  };
  void Open(int device_index, Hands& hands);
  void Close(SDL_JoystickID id, Hands& hands);
  bool IsOpen(SDL_JoystickID id) const;
  std::int64_t ClockOf(const SDL_Event& event);

  Uint64 start_ms_;
  bool started_ = false;
  std::vector<OpenPad> open_;
  std::int64_t clock_ = 0;  // of the latest event, never falling
};

}  // namespace mw
