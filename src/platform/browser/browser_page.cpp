#include "platform/browser/browser_page.h"

#include <emscripten.h>

namespace mw {
namespace {

// The page's hooks are optional: a page without one of them misses only that.

// clang-format off
EM_JS(int, mw_in_browser_page, (), {
  return (typeof window !== 'undefined' && typeof document !== 'undefined') ? 1 : 0;
});

EM_JS(void, mw_show_picture, (const std::uint8_t* rgba, int width, int height), {
  var canvas = Module['canvas'];
  if (!canvas) return;
  if (!Module['mwCanvasContext']) Module['mwCanvasContext'] = canvas.getContext('2d');
  var pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
  Module['mwCanvasContext'].putImageData(new ImageData(pixels, width, height), 0, 0);
  // How many pictures were shown, and when the first was: the page's tests
  // read the frame rate and the load time from them.
  if (!Module['mwPictures']) Module['mwFirstPicture'] = performance.now();
  Module['mwPictures'] = (Module['mwPictures'] || 0) + 1;
});

EM_JS(void, mw_canvas_place, (double* place), {
  var canvas = Module['canvas'];
  if (!canvas) return;
  var rect = canvas.getBoundingClientRect();
  HEAPF64[(place >> 3) + 0] = rect.left;
  HEAPF64[(place >> 3) + 1] = rect.top;
  HEAPF64[(place >> 3) + 2] = rect.width;
  HEAPF64[(place >> 3) + 3] = rect.height;
});

EM_JS(void, mw_keep_files, (), {
  if (Module['mwKeepFiles']) Module['mwKeepFiles']();
});

EM_JS(void, mw_toggle_full_screen, (), {
  if (Module['mwToggleFullScreen']) Module['mwToggleFullScreen']();
});

EM_JS(void, mw_show_system_cursor, (int shown), {
  if (Module['mwShowSystemCursor']) Module['mwShowSystemCursor'](shown !== 0);
});

EM_JS(void, mw_alert, (const char* text), {
  if (typeof alert === 'function') alert(UTF8ToString(text));
});

EM_JS(void, mw_program_ended, (int status), {
  if (Module['mwProgramEnded']) Module['mwProgramEnded'](status);
});

EM_JS(int, mw_page_hidden, (), {
  return (typeof document !== 'undefined' && document.hidden) ? 1 : 0;
});
// clang-format on

}  // namespace

bool InBrowserPage() {
  return mw_in_browser_page() != 0;
}

void ShowPictureOnCanvas(const std::uint8_t* rgba) {
  mw_show_picture(rgba, kPictureWidth, kPictureHeight);
}

CanvasPlace PlaceOfCanvas() {
  double place[4] = {0, 0, kPictureWidth, kPictureHeight};
  mw_canvas_place(place);
  return {place[0], place[1], place[2], place[3]};
}

void KeepFilesInBrowser() {
  mw_keep_files();
}

void ToggleFullScreen() {
  mw_toggle_full_screen();
}

void ShowSystemCursor(bool shown) {
  mw_show_system_cursor(shown ? 1 : 0);
}

void ShowBrowserAlert(const char* utf8) {
  mw_alert(utf8);
}

void TellPageProgramEnded(int status) {
  mw_program_ended(status);
}

double PageClockMs() {
  return emscripten_get_now();
}

bool PageHidden() {
  return mw_page_hidden() != 0;
}

}  // namespace mw
