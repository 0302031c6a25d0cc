#include "platform/sdl/screenshot_file.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdint>
#include <vector>

#include "platform/os/file_storage.h"
#include "platform/os/local_time.h"
#include "platform/os/pictures_folder.h"
#include "platform/sdl/sdl_surfaces.h"

namespace mw {
namespace {

// Enough for a player holding F12 down for a second and a half.
constexpr int kMaxAttempts = 99;

}  // namespace

// The picture as PNG bytes, made in memory so that the file is written in one
// go, never over an older one. Returns the reason when it failed.
std::string EncodePng(const Surface& picture, std::vector<std::uint8_t>& png) {
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(SdlSurfaceOf(picture), SDL_PIXELFORMAT_RGB24, 0);
  if (rgb == nullptr) return SDL_GetError();
  // Deflate makes a picture at most a few per mille larger than its pixels;
  // a full buffer makes the save fail, never overflow.
  const auto raw = static_cast<std::size_t>(rgb->pitch) * static_cast<std::size_t>(rgb->h);
  png.resize(raw + raw / 8 + 64 * 1024);
  std::string reason;
  SDL_RWops* memory = SDL_RWFromMem(png.data(), static_cast<int>(png.size()));
  if (memory == nullptr || IMG_SavePNG_RW(rgb, memory, 0) != 0) reason = SDL_GetError();
  const Sint64 size = memory == nullptr ? -1 : SDL_RWtell(memory);
  if (memory != nullptr) SDL_RWclose(memory);
  SDL_FreeSurface(rgb);
  if (reason.empty() && size < 0) reason = SDL_GetError();
  png.resize(reason.empty() ? static_cast<std::size_t>(size) : 0);
  return reason;
}

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
  const std::tm local = LocalTimeOf(std::time(nullptr));
  std::vector<std::uint8_t> png;
  if (std::string reason = EncodePng(picture, png); !reason.empty()) return {{}, reason};
  for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
    const std::string path = folder + "/" + ScreenshotName(local, attempt);
    const NewFileResult written = WriteNewFile(path, png);
    if (written.status != NewFileResult::Status::kExists) return {path, written.reason};
  }
  return {{}, "zu viele Bilder in derselben Sekunde"};
}

}  // namespace mw
