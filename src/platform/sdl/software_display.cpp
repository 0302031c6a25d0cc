#include "platform/sdl/software_display.h"

#include "platform/sdl/image_loading.h"
#include "platform/sdl/sdl_surfaces.h"
#include "platform/sdl/text_engine.h"

namespace mw {

SoftwareDisplay::SoftwareDisplay(LiveCount& surfaces, PixelFormat format)
    : surfaces_(surfaces), text_(std::make_unique<TextEngine>()), format_(format) {}

SoftwareDisplay::~SoftwareDisplay() {
  on_screen_ = Surface();
}

Surface SoftwareDisplay::MakeSurface(int width, int height) {
  return Surface(NewSurface(width, height, format_), text_.get(), surfaces_.NewMark());
}

Surface SoftwareDisplay::ImageSurface(std::string_view asset, int width, int height) {
  return LoadImageSurface(asset, width, height, format_, text_.get(), surfaces_.NewMark());
}

int SoftwareDisplay::TextWidth(const Font& font, std::string_view cp1252) {
  return text_->Width(font, cp1252);
}

int SoftwareDisplay::TextLineHeight(const Font& font) {
  return text_->LineHeight(font);
}

void SoftwareDisplay::Open() {
  on_screen_ = MakeSurface(kPictureWidth, kPictureHeight);
}

void SoftwareDisplay::Show(const Surface& back_buffer, Rect visible) {
  // Black shows only where the visible rectangle leaves part of the screen
  // uncovered; the usual frame covers it all and needs no clearing.
  const bool covers = visible.left >= 0 && visible.top >= 0 &&
                      visible.right - visible.left >= on_screen_.Width() &&
                      visible.bottom - visible.top >= on_screen_.Height() &&
                      visible.left + on_screen_.Width() <= back_buffer.Width() &&
                      visible.top + on_screen_.Height() <= back_buffer.Height();
  if (!covers) on_screen_.FillRect({}, 0);
  on_screen_.BlitImage(0, 0, back_buffer, visible, false);
}

Surface SoftwareDisplay::PictureOnScreen() {
  Surface copy = MakeSurface(kPictureWidth, kPictureHeight);
  if (on_screen_) copy.BlitImage(0, 0, on_screen_, Rect{}, false);
  return copy;
}

}  // namespace mw
