#include "platform/browser/browser_pads.h"

#include <emscripten.h>

#include <cmath>
#include <limits>
#include <optional>

namespace mw {
namespace {

constexpr int kMostPads = 8;
// A pad's reading: its index, its buttons (pressed 1 or 0; the triggers
// 0 to 1), its axes.
constexpr int kValuesPerPad = 1 + BrowserPads::kButtons + BrowserPads::kAxes;

// clang-format off
EM_JS(int, mw_read_pads, (double* values, int most, int per_pad), {
  if (typeof navigator === 'undefined' || typeof navigator.getGamepads !== 'function') return 0;
  var pads;
  try {
    pads = navigator.getGamepads() || [];
  } catch (error) {
    return 0;  // a page not allowed to see pads sees none
  }
  var count = 0;
  for (var i = 0; i < pads.length && count < most; ++i) {
    var pad = pads[i];
    if (!pad || pad.connected === false || pad.mapping !== 'standard') continue;
    var at = (values >> 3) + count * per_pad;
    HEAPF64[at] = pad.index;
    for (var b = 0; b < 16; ++b) {
      var button = pad.buttons[b];
      var value = 0;
      if (typeof button === 'number') {
        value = button;
      } else if (button) {
        var analog = (b === 6 || b === 7) && typeof button.value === 'number';
        value = analog ? button.value : (button.pressed ? 1 : 0);
      }
      HEAPF64[at + 1 + b] = value;
    }
    for (var a = 0; a < 4; ++a) HEAPF64[at + 17 + a] = Number(pad.axes[a]) || 0;
    ++count;
  }
  return count;
});
// clang-format on

// The standard layout's buttons; 6 and 7 are the triggers, read as axes.
constexpr std::array<std::optional<PadButton>, BrowserPads::kButtons> kButtonOf{
    PadButton::kA,
    PadButton::kB,
    PadButton::kX,
    PadButton::kY,
    PadButton::kLeftShoulder,
    PadButton::kRightShoulder,
    std::nullopt,
    std::nullopt,
    PadButton::kBack,
    PadButton::kStart,
    PadButton::kLeftStick,
    PadButton::kRightStick,
    PadButton::kDpadUp,
    PadButton::kDpadDown,
    PadButton::kDpadLeft,
    PadButton::kDpadRight,
};
constexpr int kLeftTrigger = 6;
constexpr int kRightTrigger = 7;
constexpr std::array<PadAxis, BrowserPads::kAxes> kAxisOf{PadAxis::kLeftX, PadAxis::kLeftY,
                                                          PadAxis::kRightX, PadAxis::kRightY};

// A browser's odd number (NaN, a huge index) must not become undefined
// behaviour.
double Finite(double value) {
  return std::isfinite(value) ? value : 0;
}

}  // namespace

void BrowserPads::Poll(Hands& hands) {
  std::array<double, kMostPads * kValuesPerPad> values{};
  const int count = mw_read_pads(values.data(), kMostPads, kValuesPerPad);
  for (Pad& pad : pads_) pad.seen = false;
  for (int n = 0; n < count && n < kMostPads; ++n) {
    const double* reading = values.data() + static_cast<std::ptrdiff_t>(n) * kValuesPerPad;
    const double index = Finite(reading[0]);
    if (index < 0 || index > std::numeric_limits<int>::max()) continue;
    const int id = static_cast<int>(index);
    Pad* pad = nullptr;
    for (Pad& known : pads_) {
      if (known.index == id) pad = &known;
    }
    if (pad == nullptr) {
      hands.PadPlugged(id);
      pads_.push_back(Pad{id, {}, {}, false});
      pad = &pads_.back();
    }
    pad->seen = true;
    for (int b = 0; b < kButtons; ++b) {
      const double value = Finite(reading[1 + b]);
      double& was = pad->buttons[static_cast<std::size_t>(b)];
      if (value == was) continue;
      was = value;
      if (b == kLeftTrigger || b == kRightTrigger) {
        hands.PadAxisMoved(id, b == kLeftTrigger ? PadAxis::kLeftTrigger : PadAxis::kRightTrigger,
                           value);
      } else if (const std::optional<PadButton> button = kButtonOf[static_cast<std::size_t>(b)]) {
        hands.PadButtonChanged(id, *button, value > 0.5);
      }
    }
    for (int a = 0; a < kAxes; ++a) {
      const double value = Finite(reading[1 + kButtons + a]);
      double& was = pad->axes[static_cast<std::size_t>(a)];
      if (value == was) continue;
      was = value;
      hands.PadAxisMoved(id, kAxisOf[static_cast<std::size_t>(a)], value);
    }
  }
  // A pad the browser no longer shows, or shows as disconnected, is gone:
  // the hands let go of all it held.
  std::erase_if(pads_, [&hands](const Pad& pad) {
    if (!pad.seen) hands.PadUnplugged(pad.index);
    return !pad.seen;
  });
}

}  // namespace mw
