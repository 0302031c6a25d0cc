#include "app/message_box.h"

namespace mw {
namespace {

constexpr Colour kTitleBar = Rgb(38, 56, 104);
constexpr Colour kTitleText = Rgb(255, 255, 255);
constexpr Colour kBody = Rgb(240, 240, 240);
constexpr Colour kBodyText = Rgb(0, 0, 0);
constexpr Colour kFrame = Rgb(16, 20, 36);
constexpr Colour kButton = Rgb(222, 222, 226);
constexpr Colour kButtonHover = Rgb(200, 214, 240);

Rect Grown(const Rect& r, int by) {
  return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}

bool Pressed(const InputFrame& input, int key) {
  return input.keys[static_cast<std::size_t>(key)].presses > 0;
}

}  // namespace

MessageBox MakeMessageBox(Platform& platform, std::string_view title, std::string_view text) {
  MessageBox box;
  box.title.assign(title);
  const FontMetrics metrics{
      [&platform](const Font& font, std::string_view s) { return platform.TextWidth(font, s); },
      [&platform](const Font& font) { return platform.TextLineHeight(font); }};
  box.layout = LayOutMessageBox(title, text, metrics);
  // Every colour at half its brightness: the box stands out, the picture stays.
  box.behind = platform.PictureOnScreen();
  box.behind.HalveBrightness();
  return box;
}

bool StepMessageBox(MessageBox& box, const InputFrame& input) {
  if (input.close_requested) return true;
  if (Pressed(input, vk::kReturn) || Pressed(input, vk::kEscape) || Pressed(input, vk::kSpace)) {
    return true;
  }
  // A click is on OK when the button goes down and comes up over it.
  const bool over = PixelInRect(box.layout.button, input.mouse);
  box.hover = over;
  const KeyState& left = input.keys[vk::kLeftButton];
  if (left.presses > 0) box.pressed_on_button = over;
  if (!left.down) {
    const bool clicked = box.pressed_on_button && over;
    box.pressed_on_button = false;
    return clicked;
  }
  return false;
}

void DrawMessageBox(const MessageBox& box, Surface& canvas) {
  const MessageBoxLayout& layout = box.layout;
  canvas.BlitImage(0, 0, box.behind, {}, false);
  const Rect& frame = layout.box;
  canvas.FillRect(Grown(frame, 1), canvas.MapColour(kFrame));
  canvas.FillRect(frame, canvas.MapColour(kBody));
  canvas.FillRect({frame.left, frame.top, frame.right, frame.top + kBoxTitleHeight},
                  canvas.MapColour(kTitleBar));
  canvas.DrawText(layout.title_at.x, layout.title_at.y, box.title,
                  TextStyle{kBoxTitleFont, kTitleText});
  const TextStyle body{layout.body, kBodyText};
  int y = layout.text_at.y;
  for (const std::string& line : layout.lines) {
    canvas.DrawText(layout.text_at.x, y, line, body);
    y += layout.line_height;
  }
  const Rect& button = layout.button;
  canvas.FillRect(Grown(button, 2), canvas.MapColour(kTitleBar));
  canvas.FillRect(button, canvas.MapColour(box.hover ? kButtonHover : kButton));
  canvas.DrawText(layout.button_at.x, layout.button_at.y, "OK",
                  TextStyle{kBoxButtonFont, kBodyText});
}

}  // namespace mw
