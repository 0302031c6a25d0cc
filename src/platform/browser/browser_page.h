#pragma once
// What the program asks of the page it runs in (web/index.html): to show a
// picture on its canvas, to keep the files of /data in the browser's storage,
// to switch full screen, to show or hide the system's cursor, and that the
// program has ended. Each is a call into the page's JavaScript.

#include <cstdint>

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
// The milliseconds since the page started, with fractions.
double PageClockMs();
// Whether the page is hidden (another tab, a minimised window).
bool PageHidden();

}  // namespace mw
