// How a message box breaks its text: every line fits, no character is lost
// or repeated except the blanks at the breaks, and a text too long for the
// screen is cut with "…"; and what confirms the box.

#include "layout/message_box_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "app/message_box.h"
#include "platform/sdl/text_engine.h"
#include "test_world.h"

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

namespace mw {
namespace {

// Fonts whose characters are as wide as their size in points, and whose
// lines are twice as high.
const FontMetrics kPlainMetrics{[](const Font& font, std::string_view text) {
                                  return static_cast<int>(text.size()) * font.size;
                                },
                                [](const Font& font) { return 2 * font.size; }};

// The box stands in the middle, as wide as its widest line within 300 to 600
// pixels, the title centred in its bar and OK centred at the bottom; a text
// too long for 11 points is set smaller, down to 8.
TEST(MessageBoxLayout, TheBoxIsCentredAndSizedByItsText) {
  const MessageBoxLayout small = LayOutMessageBox("Titel", "kurz", kPlainMetrics);
  EXPECT_EQ(small.body.size, 11);
  // 300 wide; 134 high: the title bar 34, three gaps of 16, the button 30, one line 22.
  EXPECT_EQ(small.box, (Rect{170, 173, 470, 307}));
  EXPECT_EQ(small.title_at, (Point{186, 173 + (34 - 24) / 2}));
  EXPECT_EQ(small.text_at, (Point{186, 173 + 34 + 16}));
  EXPECT_EQ(small.button, (Rect{270, 261, 370, 291}));
  EXPECT_EQ(small.button_at, (Point{270 + (100 - 24) / 2, 261 + (30 - 24) / 2}));

  const MessageBoxLayout wide = LayOutMessageBox("Titel", std::string(45, 'x'), kPlainMetrics);
  EXPECT_EQ(wide.box.right - wide.box.left, 45 * 11 + 32);
  EXPECT_EQ(wide.box.left, (640 - (45 * 11 + 32)) / 2);

  // Sixteen lines do not fit at 11 points (15 of 22 pixels would); at 10 they do.
  std::string lines = "Zeile";
  for (int i = 1; i < 16; ++i) lines += "\nZeile";
  const MessageBoxLayout many = LayOutMessageBox("Titel", lines, kPlainMetrics);
  EXPECT_EQ(many.body.size, 10);
  EXPECT_EQ(many.lines.size(), 16u);
  EXPECT_EQ(many.box.top, std::max((480 - (many.box.bottom - many.box.top)) / 2, 0));
  EXPECT_LE(many.box.bottom, 480);
}

// What confirms a box: Enter, Escape or Space pressed (not held from
// before), a close request, or a click that goes down and comes up on OK.
TEST(MessageBoxInput, KeysAClickOnOkOrACloseConfirmIt) {
  MessageBox box;
  box.layout.button = Rect{270, 300, 370, 330};
  const Point on{300, 310};
  const Point off{300, 200};
  auto step = [&box](test::Input input) { return StepMessageBox(box, input); };

  EXPECT_FALSE(step(test::Input().Mouse(off)));
  EXPECT_FALSE(step(test::Input().Held(vk::kReturn))) << "Enter held from before";
  for (const int key : {vk::kReturn, vk::kEscape, vk::kSpace}) {
    EXPECT_TRUE(step(test::Input().Tapped(key))) << key;
  }
  EXPECT_FALSE(step(test::Input().Tapped(vk::kKey1)));
  InputFrame close = test::Input();
  close.close_requested = true;
  EXPECT_TRUE(StepMessageBox(box, close));

  // The pointer over OK lights it up.
  EXPECT_FALSE(step(test::Input().Mouse(on)));
  EXPECT_TRUE(box.hover);
  EXPECT_FALSE(step(test::Input().Mouse({270, 330})));
  EXPECT_FALSE(box.hover) << "right and bottom are outside";

  // Down and up on OK, in two frames or within one.
  EXPECT_FALSE(step(test::Input().Mouse(on).Held(vk::kLeftButton).Tapped(vk::kLeftButton)));
  EXPECT_TRUE(step(test::Input().Mouse(on)));
  EXPECT_TRUE(step(test::Input().Mouse(on).Tapped(vk::kLeftButton)));
  // Down elsewhere and up on OK, or down on OK and up elsewhere: nothing.
  EXPECT_FALSE(step(test::Input().Mouse(off).Held(vk::kLeftButton).Tapped(vk::kLeftButton)));
  EXPECT_FALSE(step(test::Input().Mouse(on)));
  EXPECT_FALSE(step(test::Input().Mouse(on).Held(vk::kLeftButton).Tapped(vk::kLeftButton)));
  EXPECT_FALSE(step(test::Input().Mouse(off)));
  EXPECT_FALSE(step(test::Input().Mouse(on))) << "a finished click does not count later";
}

}  // namespace
}  // namespace mw
