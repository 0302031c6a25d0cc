#include <gtest/gtest.h>

#include <map>

#include "drawing/drawing_types.h"
#include "input/virtual_keys.h"
#include "platform/sdl/sdl_keys.h"

namespace mw {
namespace {

TEST(VirtualKeys, TheGamesKeysMapBothWaysAndOthersAreUnknown) {
  for (int key : {vk::kBackspace, vk::kTab, vk::kReturn, vk::kEscape, vk::kSpace, vk::kLeft,
                  vk::kUp, vk::kRight, vk::kDown, vk::kKey1, vk::kKey2}) {
    const SDL_Scancode code = ScancodeOfVirtualKey(key);
    ASSERT_NE(code, SDL_SCANCODE_UNKNOWN) << key;
    EXPECT_EQ(VirtualKeyOfScancode(code), key);
  }
  // The weapon keys are where the keyboard has them; no two keys share one.
  EXPECT_EQ(ScancodeOfVirtualKey(vk::kKey1), SDL_SCANCODE_1);
  EXPECT_EQ(ScancodeOfVirtualKey(vk::kKey2), SDL_SCANCODE_2);
  std::map<SDL_Scancode, int> owner;
  for (int key = 0; key < vk::kCount; ++key) {
    const SDL_Scancode code = ScancodeOfVirtualKey(key);
    if (code == SDL_SCANCODE_UNKNOWN) continue;
    const auto [at, first] = owner.emplace(code, key);
    EXPECT_TRUE(first) << "keys " << at->second << " and " << key;
  }
  EXPECT_EQ(VirtualKeyOfScancode(SDL_SCANCODE_KP_ENTER), vk::kReturn);
  EXPECT_EQ(VirtualKeyOfScancode(SDL_SCANCODE_F5), -1);
  EXPECT_EQ(ScancodeOfVirtualKey(vk::kLeftButton), SDL_SCANCODE_UNKNOWN);
  EXPECT_EQ(ScancodeOfVirtualKey(255), SDL_SCANCODE_UNKNOWN);
  EXPECT_EQ(VirtualKeyOfMouseButton(SDL_BUTTON_LEFT), vk::kLeftButton);
  EXPECT_EQ(VirtualKeyOfMouseButton(SDL_BUTTON_RIGHT), vk::kRightButton);
  EXPECT_EQ(VirtualKeyOfMouseButton(SDL_BUTTON_MIDDLE), -1);
  EXPECT_EQ(ControlCharacterOfKey(SDLK_KP_ENTER), 13);
  EXPECT_EQ(ControlCharacterOfKey(SDLK_a), -1);
}

}  // namespace
}  // namespace mw
