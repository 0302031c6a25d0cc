#pragma once
// The display state every screen shares: the BackBuffer and the shell images.

#include "platform/platform.h"
#include "platform/surface.h"

namespace mw {

struct DisplayState {
  Surface back_buffer;
  Surface menu_background;
  Surface settings_background;
  Surface high_score_background;
  Surface cursor_image;
};

// Shell BackBuffer geometry: 672x512, of which (16,16)-(656,496) is shown.
constexpr int kShellBackBufferWidth = 672;
constexpr int kShellBackBufferHeight = 512;
constexpr Rect kShellVisibleRect{16, 16, 656, 496};
// Screen pixel (0, 0) in the shell's BackBuffer: where the backgrounds go.
constexpr Point kShellScreenOrigin{16, 16};

// Loads the shell images and sets the shell font (Arial 20 bold) on the
// BackBuffer. Called when the shell BackBuffer is made and after a display loss.
void LoadMenuImages(Platform& platform, DisplayState& display);

// Releases the BackBuffer, makes a new 672x512 one and loads the shell images.
void MakeMenuBackBuffer(Platform& platform, DisplayState& display);

}  // namespace mw
