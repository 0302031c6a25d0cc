#pragma once
// F12: the picture on screen kept as a PNG in the player's pictures folder,
// named after the moment, never over an existing file.

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace mw {

// "moewenschuss-YYYYMMDD-HHMMSS.png"; from the second try on "-2", "-3"...
// before ".png".
std::string ScreenshotName(const std::tm& local_time, int attempt);

struct ScreenshotResult {
  std::string path;    // where it was saved
  std::string reason;  // why it was not (German), empty on success
};

// The picture as PNG bytes in memory (the browser's page hands them to the
// player as a download). Returns the reason when it failed, else empty.
std::string EncodePng(const Surface& picture, std::vector<std::uint8_t>& png);

// Saves the picture in the folder (or in PicturesFolder() when empty).
ScreenshotResult SaveScreenshot(const Surface& picture, std::string folder = {});

}  // namespace mw
