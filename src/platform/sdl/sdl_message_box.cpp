#include "platform/sdl/sdl_message_box.h"

#include <algorithm>
#include <string>
#include <vector>

#include "layout/message_box_layout.h"
#include "platform/sdl/sdl_surfaces.h"

namespace mw {
namespace {

constexpr Colour kTitleBar = Rgb(38, 56, 104);
constexpr Colour kTitleText = Rgb(255, 255, 255);
constexpr Colour kBody = Rgb(240, 240, 240);
constexpr Colour kBodyText = Rgb(0, 0, 0);
constexpr Colour kFrame = Rgb(16, 20, 36);
constexpr Colour kButton = Rgb(222, 222, 226);
constexpr Colour kButtonHover = Rgb(200, 214, 240);

constexpr int kPad = 16;
constexpr int kTitleHeight = 34;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 30;
constexpr int kMinBoxWidth = 300;
constexpr int kMaxBoxWidth = 600;
constexpr int kMaxBoxHeight = 460;
constexpr Uint32 kIdleWaitMs = 50;

const Font kTitleFont{"Arial", 12, true};
const Font kButtonFont{"Arial", 12, true};

struct Layout {
  Font body;
  std::vector<std::string> lines;
  int line_height = 0;
  Rect box;
  Rect button;
};

// The largest body font (11 to 8 points) at which the text fits the screen;
// at the smallest, what does not fit is cut off.
Layout LayOut(TextEngine& engine, std::string_view title, std::string_view message) {
  Layout layout;
  const int inner = kMaxBoxWidth - 2 * kPad;
  const int fixed = kTitleHeight + 3 * kPad + kButtonHeight;
  for (int points = 11; points >= 8; --points) {
    layout.body = Font{"Arial", points, false};
    const TextWidth width_of = [&engine, &layout](std::string_view s) {
      return engine.Width(layout.body, s);
    };
    layout.line_height = engine.LineHeight(layout.body);
    const auto max_lines = static_cast<std::size_t>((kMaxBoxHeight - fixed) / layout.line_height);
    layout.lines = WrapText(message, inner, width_of);
    if (layout.lines.size() <= max_lines || points == 8) {
      layout.lines = LimitLines(std::move(layout.lines), max_lines, inner, width_of);
      break;
    }
  }
  int widest = engine.Width(kTitleFont, title);
  for (const std::string& line : layout.lines) {
    widest = std::max(widest, engine.Width(layout.body, line));
  }
  const int width = std::clamp(widest + 2 * kPad, kMinBoxWidth, kMaxBoxWidth);
  const int height = fixed + static_cast<int>(layout.lines.size()) * layout.line_height;
  const int left = (kPictureWidth - width) / 2;
  const int top = std::max((kPictureHeight - height) / 2, 0);
  layout.box = {left, top, left + width, top + height};
  const int button_left = left + (width - kButtonWidth) / 2;
  const int button_top = top + height - kPad - kButtonHeight;
  layout.button = {button_left, button_top, button_left + kButtonWidth, button_top + kButtonHeight};
  return layout;
}

bool Inside(const Rect& r, Point p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

Rect Grown(const Rect& r, int by) {
  return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}

// Every colour at half its brightness: the box stands out, the picture stays.
void Dim(Surface& surface) {
  SDL_Surface* raw = SdlSurfaceOf(surface);
  const PixelFormat f = surface.Format();
  const auto half =
      static_cast<Uint16>(((f.red_mask >> 1) & f.red_mask) | ((f.green_mask >> 1) & f.green_mask) |
                          ((f.blue_mask >> 1) & f.blue_mask));
  PixelWrite write(raw);
  for (int y = 0; y < raw->h; ++y) {
    auto* row = reinterpret_cast<Uint16*>(static_cast<Uint8*>(raw->pixels) + y * raw->pitch);
    for (int x = 0; x < raw->w; ++x) row[x] = static_cast<Uint16>((row[x] >> 1) & half);
  }
}

void Draw(Surface& canvas, const Surface& background, TextEngine& engine, const Layout& layout,
          std::string_view title, bool hover) {
  canvas.BlitImage(0, 0, background, {}, false);
  const Rect& box = layout.box;
  canvas.FillRect(Grown(box, 1), canvas.MapColour(kFrame));
  canvas.FillRect(box, canvas.MapColour(kBody));
  canvas.FillRect({box.left, box.top, box.right, box.top + kTitleHeight},
                  canvas.MapColour(kTitleBar));
  canvas.SetTextTransparency(true);
  canvas.SetTextFont(kTitleFont);
  canvas.SetTextColor(kTitleText);
  canvas.DrawTextAt(box.left + kPad, box.top + (kTitleHeight - engine.LineHeight(kTitleFont)) / 2,
                    title);
  canvas.SetTextFont(layout.body);
  canvas.SetTextColor(kBodyText);
  int y = box.top + kTitleHeight + kPad;
  for (const std::string& line : layout.lines) {
    canvas.DrawTextAt(box.left + kPad, y, line);
    y += layout.line_height;
  }
  const Rect& button = layout.button;
  canvas.FillRect(Grown(button, 2), canvas.MapColour(kTitleBar));
  canvas.FillRect(button, canvas.MapColour(hover ? kButtonHover : kButton));
  canvas.SetTextFont(kButtonFont);
  canvas.DrawTextAt(button.left + (kButtonWidth - engine.Width(kButtonFont, "OK")) / 2,
                    button.top + (kButtonHeight - engine.LineHeight(kButtonFont)) / 2, "OK");
}

bool IsEnter(SDL_Keycode key) {
  return key == SDLK_RETURN || key == SDLK_KP_ENTER;
}

}  // namespace

bool ShowMessageBoxInWindow(GameWindow& window, TextEngine& text, const Surface& last_picture,
                            std::string_view title, std::string_view message) {
  const PixelFormat format = window.Format();
  Surface background(NewSurface(kPictureWidth, kPictureHeight, format), &text);
  if (last_picture) background.BlitImage(0, 0, last_picture, {}, false);
  Dim(background);
  Surface canvas(NewSurface(kPictureWidth, kPictureHeight, format), &text);
  const Layout layout = LayOut(text, title, message);

  bool hover = false;
  bool pressed_on_button = false;
  bool close_requested = false;
  bool confirmed = false;
  bool dirty = true;
  while (!confirmed) {
    if (dirty) {
      Draw(canvas, background, text, layout, title, hover);
      window.Present(canvas);
      dirty = false;
    }
    SDL_Event event;
    bool have_event = SDL_WaitEventTimeout(&event, kIdleWaitMs) != 0;
    while (have_event && !confirmed) {
      switch (event.type) {
        case SDL_QUIT:
          close_requested = true;
          confirmed = true;
          break;
        case SDL_KEYDOWN:
          if (event.key.repeat != 0) break;
          if (IsEnter(event.key.keysym.sym) && (event.key.keysym.mod & KMOD_ALT) != 0) {
            window.ToggleFullscreen();
            dirty = true;
          } else if (IsEnter(event.key.keysym.sym) || event.key.keysym.sym == SDLK_ESCAPE ||
                     event.key.keysym.sym == SDLK_SPACE) {
            confirmed = true;
          }
          break;
        case SDL_MOUSEMOTION: {
          window.NotePointerSeen();
          const bool over = Inside(layout.button, window.PictureAt(event.motion.x, event.motion.y));
          dirty = dirty || over != hover;
          hover = over;
          break;
        }
        case SDL_MOUSEBUTTONDOWN:
          if (event.button.button == SDL_BUTTON_LEFT) {
            pressed_on_button =
                Inside(layout.button, window.PictureAt(event.button.x, event.button.y));
          }
          break;
        case SDL_MOUSEBUTTONUP:
          if (event.button.button == SDL_BUTTON_LEFT && pressed_on_button &&
              Inside(layout.button, window.PictureAt(event.button.x, event.button.y))) {
            confirmed = true;
          }
          pressed_on_button = false;
          break;
        case SDL_WINDOWEVENT:
          dirty = true;
          break;
        default:
          break;
      }
      have_event = !confirmed && SDL_PollEvent(&event) != 0;
    }
    window.Settle();
  }
  return close_requested;
}

}  // namespace mw
