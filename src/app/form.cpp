#include "app/form.h"

#include "app/main_menu.h"

namespace mw {
namespace {

// The handler refers to this run's Modul, so it must not outlive it, not even
// when a run-time error unwinds through here.
struct KeyPressHandlerScope {
  Platform& platform;
  explicit KeyPressHandlerScope(Platform& p, Modul& modul) : platform(p) {
    platform.SetKeyPressHandler([&modul](int code) { Form_KeyPress(modul, code); });
  }
  ~KeyPressHandlerScope() { platform.SetKeyPressHandler(nullptr); }
  KeyPressHandlerScope(const KeyPressHandlerScope&) = delete;
  KeyPressHandlerScope& operator=(const KeyPressHandlerScope&) = delete;
};

}  // namespace

void Form_Load(Platform& platform, ProgramState& state) {
  KeyPressHandlerScope handler(platform, state.modul);
  RunMainMenu(platform, state);
}

}  // namespace mw
