#pragma once
// How a screen that the menu opened was left.

namespace mw {

enum class ScreenExit {
  kBack,            // back to the menu
  kCloseRequested,  // the window was asked to close: the program ends
};

}  // namespace mw
