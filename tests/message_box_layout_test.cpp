// How a message box breaks its text: every line fits, no character is lost
// or repeated except the blanks at the breaks, and a text too long for the
// screen is cut with "…".

#include "layout/message_box_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/sdl/text_engine.h"

namespace mw {
namespace {

// Every character 10 pixels wide, "W" 30: simple, and not all the same.
int WidthOf(std::string_view text) {
  int width = 0;
  for (const char c : text) width += c == 'W' ? 30 : 10;
  return width;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += line;
  return all;
}

std::string WithoutBlanks(std::string text) {
  std::erase(text, ' ');
  std::erase(text, '\n');
  return text;
}

TEST(MessageBoxLayout, WordsWrapAtBlanksAndLineBreaksStay) {
  const auto lines = WrapText("Die Datei kann nicht gelesen werden.\nWeiter?", 120, WidthOf);
  EXPECT_EQ(lines,
            (std::vector<std::string>{"Die Datei", "kann nicht", "gelesen", "werden.", "Weiter?"}));
  EXPECT_EQ(WrapText("a\n\nb", 120, WidthOf), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(WrapText("", 120, WidthOf), (std::vector<std::string>{""}));
}

TEST(MessageBoxLayout, AWordWiderThanALineIsBrokenAndNothingIsLost) {
  const std::string path = "„/home/WWW/" + std::string(60, 'x') + "/highscores.pdk“";
  const std::string text = "Die Highscores können nicht in " + path + " gespeichert werden.";
  for (const int width : {30, 45, 120, 333}) {
    const auto lines = WrapText(text, width, WidthOf);
    for (const std::string& line : lines) {
      // A line is wider only where a single character is.
      EXPECT_TRUE(WidthOf(line) <= width || line.size() == 1) << width << ": " << line;
    }
    EXPECT_EQ(WithoutBlanks(Joined(lines)), WithoutBlanks(text)) << width;
  }
  // A piece exactly as wide as the line fills it.
  EXPECT_EQ(WrapText("abcdef", 30, WidthOf), (std::vector<std::string>{"abc", "def"}));
  // Tabs and other control characters have no glyph; they become blanks.
  EXPECT_EQ(WrapText("a\tb\rc", 1000, WidthOf), (std::vector<std::string>{"a b c"}));
}

TEST(MessageBoxLayout, TooManyLinesAreCutWithAnEllipsisThatFits) {
  std::vector<std::string> lines{"eins", "zwei", "drei WWW", "vier"};
  EXPECT_EQ(LimitLines(lines, 4, 80, WidthOf), lines);
  const auto cut = LimitLines(lines, 3, 80, WidthOf);
  ASSERT_EQ(cut.size(), 3u);
  EXPECT_EQ(cut[2], "drei\x85");  // no blank before the "…"
  EXPECT_LE(WidthOf(cut[2]), 80);
  EXPECT_EQ(LimitLines(lines, 0, 80, WidthOf), (std::vector<std::string>{"eins\x85"}));
}

// The box lays its text out with the widths of the font that draws it.
TEST(MessageBoxLayout, TheFontMeasuresTextAsItDrawsIt) {
  TextEngine engine;
  const Font font{"Arial", 11, false};
  EXPECT_EQ(engine.Width(font, ""), 0);
  for (const std::string_view text : {"OK", "M\xF6wen \x84gr\xFC\xDF\x93"}) {
    EXPECT_GT(engine.Width(font, text), 0) << text;
    EXPECT_EQ(engine.Width(font, text), engine.Measure(font, text).x) << text;
  }
}

}  // namespace
}  // namespace mw
