#pragma once
// What the menu, the settings and the high-score screen are drawn with: the
// shell's 672x512 BackBuffer, their backgrounds and the cursor. They live
// from the display's opening to the program's end.

#include "drawing/drawing_types.h"
#include "platform/platform.h"
#include "platform/surface.h"

namespace mw {

struct ShellPictures {
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

// The lines of every shell screen: Arial 20 bold.
inline TextStyle ShellTextStyle(Colour colour) {
  return TextStyle{Font{"Arial", 20, true}, colour};
}

// Makes the BackBuffer and loads the pictures.
void MakeShellPictures(Platform& platform, ShellPictures& pictures);
// Loads the pictures again, after the display was lost.
void ReloadShellImages(Platform& platform, ShellPictures& pictures);

}  // namespace mw
