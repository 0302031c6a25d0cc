#include "platform/browser/browser_page.h"

#include <emscripten.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

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
  // The picture's bytes seen in place, made anew only when the memory grew
  // (a new buffer) or the bytes moved: no garbage for every frame.
  var image = Module['mwCanvasImage'];
  if (!image || image.data.buffer !== HEAPU8.buffer || image.data.byteOffset !== rgba ||
      image.width !== width || image.height !== height) {
    var pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    image = Module['mwCanvasImage'] = new ImageData(pixels, width, height);
  }
  Module['mwCanvasContext'].putImageData(image, 0, 0);
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
  Module['mwFrames'] = 0;
  if (Module['mwProgramEnded']) Module['mwProgramEnded'](status);
});

EM_JS(void, mw_frames_started, (void* frames), {
  Module['mwFrames'] = frames;
});

// A Blob made from a copy of the bytes, clicked as a link's download; the
// page hears of it too (its tests read the name and the bytes there).
EM_JS(void, mw_offer_download, (const char* name, const std::uint8_t* bytes, int size,
                                const char* type), {
  var fileName = UTF8ToString(name);
  var copy = HEAPU8.slice(bytes, bytes + size);
  if (typeof document !== 'undefined' && typeof Blob !== 'undefined') {
    var url = URL.createObjectURL(new Blob([copy], {type: UTF8ToString(type)}));
    var link = document.createElement('a');
    link.href = url;
    link.download = fileName;
    link.style.display = 'none';
    document.body.appendChild(link);
    link.click();
    link.remove();
    // The browser reads the Blob after the click's turn; then it may go.
    setTimeout(function() { URL.revokeObjectURL(url); }, 60000);
  }
  if (Module['mwDownloaded']) Module['mwDownloaded'](fileName, copy);
});

// The kinds are PageEvent::Kind's, counted from 1; 0 when nothing waits.
EM_JS(int, mw_next_page_event, (double* numbers, char* text, int text_size), {
  if (!Module['mwNextPageEvent']) return 0;
  var event = Module['mwNextPageEvent']();
  if (!event) return 0;
  var kinds = ['finger-down', 'finger-move', 'finger-up', 'fingers-cancel', 'key-down', 'key-up',
               'text', 'close'];
  HEAPF64[(numbers >> 3) + 0] = Number(event.id) || 0;
  HEAPF64[(numbers >> 3) + 1] = Number(event.x) || 0;
  HEAPF64[(numbers >> 3) + 2] = Number(event.y) || 0;
  stringToUTF8(String(event.text || ""), text, text_size);
  return kinds.indexOf(event.type) + 1;
});

EM_JS(void, mw_name_entry, (int typing, const char* name, int limit), {
  if (Module['mwNameEntry']) Module['mwNameEntry'](typing !== 0, UTF8ToString(name), limit);
});

EM_JS(void, mw_mark_frame_part, (int part), {
  if (Module['mwMarkFramePart']) Module['mwMarkFramePart'](part);
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

void TellPageFramesStarted(void* frames) {
  mw_frames_started(frames);
}

void OfferDownload(const std::string& name, const std::vector<std::uint8_t>& bytes,
                   const char* type) {
  mw_offer_download(name.c_str(), bytes.data(), static_cast<int>(bytes.size()), type);
}

std::optional<PageEvent> NextPageEvent() {
  // Enough for the field's longest text; a longer one is cut at a character.
  std::array<char, 1024> text{};
  std::array<double, 3> numbers{};
  const int kind = mw_next_page_event(numbers.data(), text.data(), static_cast<int>(text.size()));
  if (kind <= 0 || kind > static_cast<int>(PageEvent::Kind::kCloseRequested) + 1) {
    return std::nullopt;
  }
  // Pointer numbers are the browser's: any whole number, kept within an int.
  const double id = numbers[0];
  const bool fits = std::isfinite(id) && std::abs(id) < std::numeric_limits<int>::max();
  return PageEvent{static_cast<PageEvent::Kind>(kind - 1), fits ? static_cast<int>(id) : 0,
                   numbers[1], numbers[2], std::string(text.data())};
}

void ShowNameInField(const std::string& utf8, std::size_t limit) {
  mw_name_entry(1, utf8.c_str(), static_cast<int>(std::min<std::size_t>(limit, 4096)));
}

void EndNameField() {
  mw_name_entry(0, "", 0);
}

void MarkFramePart(FramePart part) {
  mw_mark_frame_part(static_cast<int>(part));
}

double PageClockMs() {
  return emscripten_get_now();
}

bool PageHidden() {
  return mw_page_hidden() != 0;
}

}  // namespace mw
