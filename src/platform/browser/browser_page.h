#pragma once
// What the program asks of the page it runs in (web/index.html): to show a
// picture on its canvas, to keep the files of /data in the browser's storage,
// to switch full screen, to show or hide the system's cursor, the touches
// and the name field's text it gathered, and that the program has ended.
// Each is a call into the page's JavaScript.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "drawing/drawing_types.h"

namespace mw {

// True when the program runs in a browser's page (not under Node.js).
bool InBrowserPage();

// Shows a 640x480 picture of RGBA bytes on the page's canvas.
void ShowPictureOnCanvas(const std::uint8_t* rgba);

// Where the canvas stands in the page, in CSS pixels of the page's window.
struct CanvasPlace {
  double left = 0;
  double top = 0;
  double width = kPictureWidth;
  double height = kPictureHeight;
};
CanvasPlace PlaceOfCanvas();

// The page keeps the files of /data in the browser's storage (a save done).
void KeepFilesInBrowser();
// Full screen on, or off again (Alt+Enter; within the key's event).
void ToggleFullScreen();
// The system's cursor over the picture: hidden while the game draws its own.
void ShowSystemCursor(bool shown);
// The browser's own message box, where the canvas cannot show one (UTF-8).
void ShowBrowserAlert(const char* utf8);
// The program has ended with that status.
void TellPageProgramEnded(int status);
// The program's frames run from the page's animation frames; the page may
// also run one at once (mw_run_frame_now with this pointer), where a hidden
// page gets no animation frames.
void TellPageFramesStarted(void* frames);
// The page offers bytes to the player as a file to download (UTF-8 name, a
// MIME type).
void OfferDownload(const std::string& name, const std::vector<std::uint8_t>& bytes,
                   const char* type);
// What the page gathered for the program since it last asked, oldest first:
// fingers on the picture (the page's pointer numbers and CSS pixels of the
// page's window), its touch buttons going down and up (named by a key code,
// "MouseRight" for the right button), the name field's whole text, and a
// request to close (the page hidden or left while a name is typed).
struct PageEvent {
  enum class Kind {
    kFingerDown,
    kFingerMoved,
    kFingerUp,
    kFingersCancelled,
    kKeyDown,
    kKeyUp,
    kFieldText,
    kCloseRequested,
  };
  Kind kind = Kind::kFingersCancelled;
  int finger = 0;
  double x = 0;
  double y = 0;
  std::string text;  // UTF-8: the key code, or the field's text
};
std::optional<PageEvent> NextPageEvent();
// While a name is typed the page's text field holds it (UTF-8), so that a tap
// can open the touch keyboard on it; afterwards the field lets go of the
// keyboard.
void ShowNameInField(const std::string& utf8, std::size_t limit);
void EndNameField();

// Where a pass of the program stands, for a page that times its parts
// (Module.mwMarkFramePart, set by make web-bench); nothing otherwise.
enum class FramePart { kInputSampled = 1, kPresentStarted, kPictureConverted, kPictureShown };
void MarkFramePart(FramePart part);

// The milliseconds since the page started, with fractions.
double PageClockMs();
// Whether the page is hidden (another tab, a minimised window).
bool PageHidden();

}  // namespace mw
