#include "platform/sdl/sdl_keys.h"

#include "drawing/drawing_types.h"
#include "input/virtual_keys.h"

namespace mw {

SDL_Scancode ScancodeOfVirtualKey(int virtual_key) {
  switch (virtual_key) {
    case vk::kBackspace:
      return SDL_SCANCODE_BACKSPACE;
    case vk::kTab:
      return SDL_SCANCODE_TAB;
    case vk::kReturn:
      return SDL_SCANCODE_RETURN;
    case vk::kEscape:
      return SDL_SCANCODE_ESCAPE;
    case vk::kSpace:
      return SDL_SCANCODE_SPACE;
    case vk::kLeft:
      return SDL_SCANCODE_LEFT;
    case vk::kUp:
      return SDL_SCANCODE_UP;
    case vk::kRight:
      return SDL_SCANCODE_RIGHT;
    case vk::kDown:
      return SDL_SCANCODE_DOWN;
    default:
      break;
  }
  if (virtual_key == '0') return SDL_SCANCODE_0;
  if (virtual_key >= '1' && virtual_key <= '9') {
    return static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (virtual_key - '1'));
  }
  if (virtual_key >= 'A' && virtual_key <= 'Z') {
    return static_cast<SDL_Scancode>(SDL_SCANCODE_A + (virtual_key - 'A'));
  }
  return SDL_SCANCODE_UNKNOWN;
}

int VirtualKeyOfScancode(SDL_Scancode scancode) {
  if (scancode == SDL_SCANCODE_KP_ENTER) return vk::kReturn;
  for (int key = 0; key < vk::kCount; ++key) {
    if (key != vk::kLeftButton && key != vk::kRightButton &&
        ScancodeOfVirtualKey(key) == scancode && scancode != SDL_SCANCODE_UNKNOWN) {
      return key;
    }
  }
  return -1;
}

int VirtualKeyOfMouseButton(Uint8 button) {
  if (button == SDL_BUTTON_LEFT) return vk::kLeftButton;
  if (button == SDL_BUTTON_RIGHT) return vk::kRightButton;
  return -1;
}

int ControlCharacterOfKey(SDL_Keycode key) {
  switch (key) {
    case SDLK_BACKSPACE:
      return 8;
    case SDLK_TAB:
      return 9;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return 13;
    case SDLK_ESCAPE:
      return 27;
    default:
      return -1;
  }
}

}  // namespace mw
