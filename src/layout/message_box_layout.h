#pragma once
// How a message box's text is broken into lines: at its own line breaks,
// between words, and inside a word too wide for a line on its own (a long
// path). Texts are Windows-1252, one byte a character.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mw {

using TextWidth = std::function<int(std::string_view)>;

// Lines no wider than max_width, as far as a single character allows.
std::vector<std::string> WrapText(std::string_view text, int max_width, const TextWidth& width_of);

// The first max_lines lines (at least one); when lines were dropped the last
// one kept ends in "…", shortened until it fits.
std::vector<std::string> LimitLines(std::vector<std::string> lines, std::size_t max_lines,
                                    int max_width, const TextWidth& width_of);

}  // namespace mw
