#pragma once
// The SDL keys and buttons behind the game's virtual-key codes.

#include <SDL.h>

namespace mw {

// The scancode of a keyboard virtual key, or SDL_SCANCODE_UNKNOWN.
SDL_Scancode ScancodeOfVirtualKey(int virtual_key);

// The virtual key of a scancode, or -1.
int VirtualKeyOfScancode(SDL_Scancode scancode);

// The virtual key of a mouse button (left 1, right 2), or -1.
int VirtualKeyOfMouseButton(Uint8 button);

// The character a key types that SDL delivers no text for (Backspace 8,
// Tab 9, Enter 13, Escape 27), or -1.
int ControlCharacterOfKey(SDL_Keycode key);

}  // namespace mw
