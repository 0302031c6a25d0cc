#pragma once
// What a screen's step asks of the program's loop, in the order it asked:
// events to log, where a sound event is also played and a message box also
// shown. The step itself neither logs, plays nor shows anything, so it is a
// function of its state, its input and the answers from outside.

#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "script/event_log.h"

namespace mw {

struct Outbox {
  std::vector<Event> events;

  template <typename Kind>
  void Log(Kind event) {
    events.emplace_back(std::in_place_type<Kind>, std::move(event));
  }
  void PlaySound(int number, int channel) { Log(SoundEvent{number, channel}); }
  void ShowMessageBox(std::string title, std::string text) {
    Log(MessageBoxEvent{std::move(title), std::move(text)});
  }
  void Clear() { events.clear(); }
};

}  // namespace mw
