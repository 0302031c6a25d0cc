#pragma once
// The virtual-key codes by which the game knows its keys and mouse buttons.

namespace mw {

namespace vk {
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kBackspace = 8;
constexpr int kTab = 9;
constexpr int kReturn = 13;
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
constexpr int kKey1 = 49;
constexpr int kKey2 = 50;
constexpr int kCount = 256;
}  // namespace vk

}  // namespace mw
