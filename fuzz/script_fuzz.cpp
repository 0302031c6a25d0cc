// Any text as a headless script must give a script or a clear "FILE:LINE:
// message" error: never a crash, never undefined behaviour.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "drawing/drawing_types.h"
#include "input/pad_controls.h"
#include "input/virtual_keys.h"
#include "script/script.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

constexpr std::string_view kFile = "fuzz.txt";

// "fuzz.txt:N: message" with N a line of the text and a message after it.
void CheckErrorText(const std::string& what, std::string_view text) {
  Check(what.starts_with(std::string(kFile) + ":"));
  std::size_t lines = 1;
  for (const char c : text) lines += c == '\n' ? 1 : 0;
  std::size_t line = 0;
  std::size_t at = kFile.size() + 1;
  for (; at < what.size() && what[at] >= '0' && what[at] <= '9' && line <= lines; ++at) {
    line = line * 10 + static_cast<std::size_t>(what[at] - '0');
  }
  Check(line >= 1 && line <= lines && what.size() > at + 2 && what.substr(at, 2) == ": ");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  mw::Script script;
  try {
    script = mw::ParseScript(text, std::string(kFile));
  } catch (const mw::ScriptError& e) {
    CheckErrorText(e.what(), text);
    return 0;
  }
  Check(script.file_name == kFile);
  std::int64_t previous = 0;
  for (const mw::ScriptEvent& e : script.events) {
    Check(e.tick >= previous);
    previous = e.tick;
    Check(e.line >= 1);
    switch (e.kind) {
      case mw::ScriptEvent::Kind::kDown:
      case mw::ScriptEvent::Kind::kUp:
        Check(e.a >= 0 && e.a < mw::vk::kCount);
        break;
      case mw::ScriptEvent::Kind::kType:
        Check(!e.text.empty());
        break;
      case mw::ScriptEvent::Kind::kLoseDisplay:
        Check(e.a >= 0);
        break;
      case mw::ScriptEvent::Kind::kShot:
        Check(!e.text.empty() && e.text[0] != '.' && e.text.find('/') == std::string::npos);
        break;
      case mw::ScriptEvent::Kind::kTouchDown:
      case mw::ScriptEvent::Kind::kTouchMove:
        Check(e.b >= 0 && e.b < mw::kPictureWidth && e.c >= 0 && e.c < mw::kPictureHeight);
        [[fallthrough]];
      case mw::ScriptEvent::Kind::kTouchUp:
        Check(e.a >= 0 && e.a <= 9);
        break;
      case mw::ScriptEvent::Kind::kPadDown:
      case mw::ScriptEvent::Kind::kPadUp:
        Check(e.a >= 0 && e.a < mw::kPadButtonCount);
        break;
      case mw::ScriptEvent::Kind::kPadAxis:
        Check(e.a >= 0 && e.a < mw::kPadAxisCount);
        Check(e.b >= (mw::IsTrigger(static_cast<mw::PadAxis>(e.a)) ? 0 : -mw::kAxisScale) &&
              e.b <= mw::kAxisScale);
        break;
      default:
        break;
    }
  }
  Check(script.LastTick() == previous);
  return 0;
}
