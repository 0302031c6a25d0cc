#pragma once
// The program's window as the game sees it: loading it runs the whole menu,
// and its key-press handler feeds LastKey.

#include "app/program_state.h"
#include "platform/platform.h"

namespace mw {

// Runs the main menu with the key-press handler installed; returns when the
// menu was left and the display given back.
void Form_Load(Platform& platform, ProgramState& state);

}  // namespace mw
