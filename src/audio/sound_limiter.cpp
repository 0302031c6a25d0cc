#include "audio/sound_limiter.h"

#include <algorithm>
#include <cmath>

namespace mw {
namespace {

// How fast the gain comes back after a loud passage.
constexpr float kReleaseSeconds = 0.08f;

}  // namespace

SoundLimiter::SoundLimiter(int channels, int sample_rate, float makeup_gain)
    : channels_(std::clamp(channels, 1, 8)),
      makeup_gain_(makeup_gain),
      release_step_(1.0f - std::exp(-1.0f / (kReleaseSeconds *
                                             static_cast<float>(std::max(sample_rate, 1))))),
      delayed_(static_cast<std::size_t>(kLookahead * channels_), 0),
      needed_(kLookahead + 1, 1.0f),
      held_(kLookahead, 1.0f) {}

void SoundLimiter::Process(std::span<std::int16_t> samples) {
  const std::size_t frames = samples.size() / static_cast<std::size_t>(channels_);
  const auto channels = static_cast<std::size_t>(channels_);
  for (std::size_t f = 0; f < frames; ++f) {
    std::int16_t* frame = samples.data() + f * channels;
    int peak = 0;
    for (std::size_t c = 0; c < channels; ++c)
      peak = std::max(peak, (frame[c] < 0 ? -int{frame[c]} : int{frame[c]}));
    const float loud = static_cast<float>(peak) * makeup_gain_;
    const std::size_t slot = static_cast<std::size_t>(at_);
    needed_[slot % needed_.size()] = loud > kCeiling ? kCeiling / loud : 1.0f;

    // The least gain any frame of the look-ahead needs, reached at once;
    // afterwards the gain rises slowly.
    const float least = *std::min_element(needed_.begin(), needed_.end());
    held_gain_ = std::min(least, held_gain_ + (1.0f - held_gain_) * release_step_);

    // The average over the look-ahead ramps the gain down before the loud
    // frame comes out, and never above what any frame in reach needs.
    const std::size_t ring = slot % held_.size();
    held_sum_ += held_gain_ - held_[ring];
    held_[ring] = held_gain_;
    const float gain = std::min(static_cast<float>(held_sum_ / kLookahead), 1.0f) * makeup_gain_;

    std::int16_t* out = delayed_.data() + ring * channels;
    for (std::size_t c = 0; c < channels; ++c) {
      const std::int16_t incoming = frame[c];
      const float value = std::clamp(static_cast<float>(out[c]) * gain, -kCeiling, kCeiling);
      frame[c] = static_cast<std::int16_t>(std::lround(value));
      out[c] = incoming;
    }
    at_ = (at_ + 1) % static_cast<int>(needed_.size() * held_.size());
    // The running sum is made afresh now and then, so rounding cannot creep.
    if (ring + 1 == held_.size()) {
      held_sum_ = 0;
      for (const float g : held_) held_sum_ += g;
    }
  }
}

}  // namespace mw
