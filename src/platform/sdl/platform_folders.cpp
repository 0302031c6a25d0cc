#include "platform/sdl/platform_folders.h"

#include <SDL.h>

#include "errors/runtime_error.h"
#include "platform/sdl/sdl_surfaces.h"

namespace mw {
namespace {

// SDL ends its folders with the system's separator, '\\' on Windows.
std::string TakeSdlString(char* text) {
  std::string result = text;
  SDL_free(text);
  if (!result.empty() && result.back() != '/' && result.back() != '\\') result += '/';
  return result;
}

}  // namespace

std::string ExecutableFolder() {
  char* path = SDL_GetBasePath();
  if (path == nullptr) throw RuntimeError(WithSdlError("Der Programmordner ist nicht bekannt"));
  return TakeSdlString(path);
}

std::string PerUserDataFolder() {
  char* path = SDL_GetPrefPath("", "moewenschuss");
  return path == nullptr ? std::string() : TakeSdlString(path);
}

}  // namespace mw
