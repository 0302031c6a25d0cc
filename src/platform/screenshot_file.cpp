#include "platform/screenshot_file.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cerrno>
#include <cstdio>

#include "platform/file_storage.h"
#include "platform/pictures_folder.h"
#include "platform/sdl_surfaces.h"

namespace mw {
namespace {

// Enough for a player holding F12 down for a second and a half.
constexpr int kMaxAttempts = 99;

}  // namespace

std::string ScreenshotName(const std::tm& local_time, int attempt) {
  char stamp[32];
  if (std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local_time) == 0) stamp[0] = '\0';
  std::string name = "moewenschuss-";
  name.append(stamp);
  if (attempt > 1) name.append("-").append(std::to_string(attempt));
  name.append(".png");
  return name;
}

ScreenshotResult SaveScreenshot(const Surface& picture, std::string folder) {
  if (folder.empty()) folder = PicturesFolder();
  if (folder.empty()) return {{}, "kein Bilderordner und kein Home-Ordner bekannt"};
  if (!picture) return {{}, "es ist noch kein Bild zu sehen"};
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);

  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(SdlSurfaceOf(picture), SDL_PIXELFORMAT_RGB24, 0);
  if (rgb == nullptr) return {{}, SDL_GetError()};
  ScreenshotResult result;
  for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
    const std::string path = folder + "/" + ScreenshotName(local, attempt);
    // "x": made new, so an older picture of the same second stays.
    errno = 0;
    SDL_RWops* file = SDL_RWFromFile(path.c_str(), "wbx");
    if (file == nullptr) {
      if (errno == EEXIST) continue;
      result = {path, errno != 0 ? FileErrorReason(errno) : SDL_GetError()};
      break;
    }
    if (IMG_SavePNG_RW(rgb, file, 1) != 0) {
      result = {path, SDL_GetError()};
      std::remove(path.c_str());  // no half-written picture is left
    } else {
      result = {path, {}};
    }
    break;
  }
  if (result.path.empty()) result.reason = "zu viele Bilder in derselben Sekunde";
  SDL_FreeSurface(rgb);
  return result;
}

}  // namespace mw
