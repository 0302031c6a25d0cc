#pragma once
// What every platform draws the same way: SDL's software surfaces in the
// display's 16-bit layout, the text in them, and the picture on screen, a
// 640x480 surface that each present copies the visible part of the back
// buffer into. The window, the headless screen and the page's canvas each
// show that picture in their own way.

#include <memory>
#include <string_view>

#include "drawing/drawing_types.h"
#include "platform/live_count.h"
#include "platform/surface.h"

namespace mw {

class TextEngine;

class SoftwareDisplay {
 public:
  // Counts its surfaces in `surfaces`, which must outlive it. Throws
  // RuntimeError when the fonts cannot be opened.
  SoftwareDisplay(LiveCount& surfaces, PixelFormat format);
  ~SoftwareDisplay();
  SoftwareDisplay(const SoftwareDisplay&) = delete;
  SoftwareDisplay& operator=(const SoftwareDisplay&) = delete;

  PixelFormat Format() const { return format_; }
  // The layout of the surfaces made from now on (a window's, once it is open).
  void SetFormat(PixelFormat format) { format_ = format; }

  Surface MakeSurface(int width, int height);
  // The embedded picture of that name, scaled. Throws RuntimeError.
  Surface ImageSurface(std::string_view asset, int width, int height);
  int TextWidth(const Font& font, std::string_view cp1252);
  int TextLineHeight(const Font& font);
  TextEngine& Text() { return *text_; }
  const TextEngine& Text() const { return *text_; }

  // The picture on screen: black from Open, gone after Close.
  void Open();
  void Close() { on_screen_ = Surface(); }
  bool IsOpen() const { return static_cast<bool>(on_screen_); }
  // Copies the visible 640x480 of the back buffer onto the picture on
  // screen, black where it leaves the picture uncovered.
  void Show(const Surface& back_buffer, Rect visible);
  const Surface& OnScreen() const { return on_screen_; }
  // A copy of the picture on screen (black while it is closed).
  Surface PictureOnScreen();

 private:
  LiveCount& surfaces_;
  std::unique_ptr<TextEngine> text_;  // outlives every surface it drew in
  PixelFormat format_;
  Surface on_screen_;
};

}  // namespace mw
