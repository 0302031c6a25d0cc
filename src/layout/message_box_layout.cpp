#include "layout/message_box_layout.h"

#include <algorithm>

namespace mw {
namespace {

constexpr char kEllipsis = '\x85';  // "…" in Windows-1252

// Appends the word to the lines, breaking it where it does not fit a line
// alone; what is left of it starts the next line.
void BreakWord(std::string_view word, int max_width, const TextWidth& width_of,
               std::vector<std::string>& lines, std::string& line) {
  for (const char c : word) {
    if (!line.empty() && width_of(line + c) > max_width) {
      lines.push_back(line);
      line.clear();
    }
    line += c;
  }
}

void WrapParagraph(std::string_view paragraph, int max_width, const TextWidth& width_of,
                   std::vector<std::string>& lines) {
  std::string line;
  std::size_t at = 0;
  while (at <= paragraph.size()) {
    std::size_t end = paragraph.find(' ', at);
    if (end == std::string_view::npos) end = paragraph.size();
    const std::string_view word = paragraph.substr(at, end - at);
    at = end + 1;
    if (word.empty()) continue;
    std::string candidate = line.empty() ? std::string(word) : line + ' ' + std::string(word);
    if (width_of(candidate) <= max_width) {
      line = std::move(candidate);
      continue;
    }
    if (!line.empty()) lines.push_back(line);
    line.clear();
    BreakWord(word, max_width, width_of, lines, line);
  }
  lines.push_back(line);
}

}  // namespace

std::vector<std::string> WrapText(std::string_view text, int max_width, const TextWidth& width_of) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at <= text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string paragraph(text.substr(at, end - at));
    // Tabs and other control characters have no glyph: they read as a blank.
    for (char& c : paragraph) {
      if (static_cast<unsigned char>(c) < 32) c = ' ';
    }
    WrapParagraph(paragraph, max_width, width_of, lines);
    at = end + 1;
  }
  return lines;
}

std::vector<std::string> LimitLines(std::vector<std::string> lines, std::size_t max_lines,
                                    int max_width, const TextWidth& width_of) {
  max_lines = std::max<std::size_t>(max_lines, 1);
  if (lines.size() <= max_lines) return lines;
  lines.resize(max_lines);
  std::string& last = lines.back();
  while (!last.empty() && (last.back() == ' ' || width_of(last + kEllipsis) > max_width)) {
    last.pop_back();
  }
  last += kEllipsis;
  return lines;
}

namespace {

constexpr int kMinBoxWidth = 300;
constexpr int kMaxBoxWidth = 600;
constexpr int kMaxBoxHeight = 460;

}  // namespace

MessageBoxLayout LayOutMessageBox(std::string_view title, std::string_view message,
                                  const FontMetrics& metrics) {
  MessageBoxLayout layout;
  const int inner = kMaxBoxWidth - 2 * kBoxPadding;
  const int fixed = kBoxTitleHeight + 3 * kBoxPadding + kBoxButtonHeight;
  for (int points = 11; points >= 8; --points) {
    layout.body = Font{"Arial", points, false};
    const TextWidth width_of = [&metrics, &layout](std::string_view s) {
      return metrics.width(layout.body, s);
    };
    layout.line_height = metrics.line_height(layout.body);
    const auto max_lines = static_cast<std::size_t>((kMaxBoxHeight - fixed) / layout.line_height);
    layout.lines = WrapText(message, inner, width_of);
    if (layout.lines.size() <= max_lines || points == 8) {
      layout.lines = LimitLines(std::move(layout.lines), max_lines, inner, width_of);
      break;
    }
  }
  int widest = metrics.width(kBoxTitleFont, title);
  for (const std::string& line : layout.lines) {
    widest = std::max(widest, metrics.width(layout.body, line));
  }
  const int width = std::clamp(widest + 2 * kBoxPadding, kMinBoxWidth, kMaxBoxWidth);
  const int height = fixed + static_cast<int>(layout.lines.size()) * layout.line_height;
  const int left = (kPictureWidth - width) / 2;
  const int top = std::max((kPictureHeight - height) / 2, 0);
  layout.box = {left, top, left + width, top + height};
  const int button_left = left + (width - kBoxButtonWidth) / 2;
  const int button_top = top + height - kBoxPadding - kBoxButtonHeight;
  layout.button = {button_left, button_top, button_left + kBoxButtonWidth,
                   button_top + kBoxButtonHeight};
  layout.title_at = {left + kBoxPadding,
                     top + (kBoxTitleHeight - metrics.line_height(kBoxTitleFont)) / 2};
  layout.text_at = {left + kBoxPadding, top + kBoxTitleHeight + kBoxPadding};
  layout.button_at = {button_left + (kBoxButtonWidth - metrics.width(kBoxButtonFont, "OK")) / 2,
                      button_top + (kBoxButtonHeight - metrics.line_height(kBoxButtonFont)) / 2};
  return layout;
}

}  // namespace mw
