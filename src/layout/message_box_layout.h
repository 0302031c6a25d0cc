#pragma once
// Where a message box stands and how its text is broken into lines: at its
// own line breaks, between words, and inside a word too wide for a line on
// its own (a long path). Texts are Windows-1252, one byte a character.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/drawing_types.h"

namespace mw {

using TextWidth = std::function<int(std::string_view)>;

// Lines no wider than max_width, as far as a single character allows.
std::vector<std::string> WrapText(std::string_view text, int max_width, const TextWidth& width_of);

// The first max_lines lines (at least one); when lines were dropped the last
// one kept ends in "…", shortened until it fits.
std::vector<std::string> LimitLines(std::vector<std::string> lines, std::size_t max_lines,
                                    int max_width, const TextWidth& width_of);

// The box's fixed measures and fonts.
constexpr int kBoxPadding = 16;
constexpr int kBoxTitleHeight = 34;
constexpr int kBoxButtonWidth = 100;
constexpr int kBoxButtonHeight = 30;
inline const Font kBoxTitleFont{"Arial", 12, true};
inline const Font kBoxButtonFont{"Arial", 12, true};

// What the layout needs to know of the fonts: a text's width, and the
// distance from one line to the next.
struct FontMetrics {
  std::function<int(const Font&, std::string_view)> width;
  std::function<int(const Font&)> line_height;
};

struct MessageBoxLayout {
  Font body;                       // the text's font, 11 down to 8 points
  std::vector<std::string> lines;  // the text, wrapped
  int line_height = 0;
  Rect box;         // on the 640x480 picture
  Point title_at;   // the title's top-left, centred in the title bar's height
  Point text_at;    // the first line's top-left
  Rect button;      // the OK button
  Point button_at;  // "OK", centred on the button
};

// The largest body font at which the text fits the screen; at the smallest,
// what does not fit is cut off. The box is centred, at least as wide as its
// title and its widest line allow, within 300 to 600 pixels.
MessageBoxLayout LayOutMessageBox(std::string_view title, std::string_view message,
                                  const FontMetrics& metrics);

}  // namespace mw
