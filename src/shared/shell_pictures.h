#pragma once
// What the menu, the settings and the high-score screen are drawn with: the
// shell's 672x512 BackBuffer, their backgrounds and the cursor. They live
// from the display's opening to the program's end.

#include "drawing/drawing_types.h"
#include "input/input_context.h"
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

// Where a line of the menu or the settings is drawn in the BackBuffer: from
// this column, and 4 rows below the top of the band where the resting mouse
// chooses it.
constexpr std::int32_t kShellLineX = 20;
constexpr std::int32_t ShellLineTextY(const LineBands& bands, int line) {
  return kShellScreenOrigin.y + bands.Top(line) + 4;
}

// The lines of every shell screen: Arial 20 bold.
inline TextStyle ShellTextStyle(Colour colour) {
  return TextStyle{Font{"Arial", 20, true}, colour};
}

// Makes the BackBuffer and loads the pictures.
void MakeShellPictures(Platform& platform, ShellPictures& pictures);
// Loads the pictures again, after the display was lost.
void ReloadShellImages(Platform& platform, ShellPictures& pictures);

}  // namespace mw
