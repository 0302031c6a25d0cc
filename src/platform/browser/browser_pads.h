#pragma once
// The browser's game pads (the Gamepad API), read once a sample: a pad whose
// buttons and sticks the browser lays out in the standard way is played
// through the hands; a pad the browser no longer shows is pulled out. Other
// layouts are left alone, since their buttons could mean anything.

#include <array>
#include <vector>

#include "input/hands.h"

namespace mw {

class BrowserPads {
 public:
  // Turns what changed since the last reading into the hands' events.
  void Poll(Hands& hands);

  // The standard layout's first 16 buttons (the 17th, the pad's home button,
  // belongs to the system) and four axes.
  static constexpr int kButtons = 16;
  static constexpr int kAxes = 4;

 private:
  struct Pad {
    int index = 0;
    std::array<double, kButtons> buttons{};
    std::array<double, kAxes> axes{};
    bool seen = false;
  };
  std::vector<Pad> pads_;
};

}  // namespace mw
