#pragma once
// A message box drawn in the game's own window with the game's fonts: the
// last picture dimmed behind it, the title, the text wrapped, and an OK
// button. Enter, Escape, Space or a click on OK confirms. A close request
// (the window's close button, SIGINT, SIGTERM) confirms it too, so the
// program goes on to end as it would after OK.

#include <string_view>

#include "platform/sdl/sdl_game_window.h"
#include "platform/sdl/text_engine.h"
#include "platform/surface.h"

namespace mw {

// Shows the box over last_picture (640x480) until it is confirmed; true
// when that was by a close request. Texts are Windows-1252. Throws
// RuntimeError when it cannot be drawn.
bool ShowMessageBoxInWindow(GameWindow& window, TextEngine& text, const Surface& last_picture,
                            std::string_view title, std::string_view message);

}  // namespace mw
