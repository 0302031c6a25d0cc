#pragma once
// What the screen on top means by a pad's buttons and a finger: on a menu the
// pad's up and down move the pointer from line to line, in a running game B
// does nothing (a stray press must not end it), and while a name is typed the
// pad picks letters and a tap opens a touch keyboard. The program's loop
// tells the platform before every sample; a recording holds only the frames
// made with it, so a replay needs none of it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "drawing/drawing_types.h"

namespace mw {

// The rows of a menu's lines where the resting pointer chooses a line.
struct LineBands {
  std::int32_t first_top = 0;  // screen row where the first line's band starts
  std::int32_t pitch = 0;      // rows from one band's top to the next
  std::int32_t height = 0;     // rows in a band
  int count = 0;

  // The line (1 to count) whose band holds screen row y, or 0 outside them.
  int LineAt(std::int32_t y) const {
    for (int line = 1; line <= count; ++line) {
      if (y >= Top(line) && y < Top(line) + height) return line;
    }
    return 0;
  }
  // The first and the middle row of a line's band.
  constexpr std::int32_t Top(int line) const { return first_top + pitch * (line - 1); }
  std::int32_t Middle(int line) const { return Top(line) + height / 2; }
  bool operator==(const LineBands&) const = default;
};

struct InputContext {
  enum class Screen : std::uint8_t {
    kMenu,       // lines chosen by the pointer's band (the main menu, the settings)
    kGame,       // a running game
    kNameEntry,  // the high-score screen while a name is typed
    kOther,      // everything else: B is Escape, the pad's arrows are arrow keys
  };
  Screen screen = Screen::kOther;
  LineBands lines;  // kMenu
  // kGame: where the pointer stands still; left of calm_left and right of
  // calm_right it scrolls the view.
  std::int32_t calm_left = 0;
  std::int32_t calm_right = kPictureWidth - 1;
  // kNameEntry: the name typed so far (Windows-1252) and its longest length.
  std::string name;
  std::size_t name_limit = 0;

  bool operator==(const InputContext&) const = default;
};

inline InputContext MenuContext(const LineBands& lines) {
  InputContext context;
  context.screen = InputContext::Screen::kMenu;
  context.lines = lines;
  return context;
}

inline InputContext PlayingContext(std::int32_t calm_left, std::int32_t calm_right) {
  InputContext context;
  context.screen = InputContext::Screen::kGame;
  context.calm_left = calm_left;
  context.calm_right = calm_right;
  return context;
}

inline InputContext NameEntryContext(std::string name, std::size_t limit) {
  InputContext context;
  context.screen = InputContext::Screen::kNameEntry;
  context.name = std::move(name);
  context.name_limit = limit;
  return context;
}

}  // namespace mw
