#pragma once
// The last step of the sound mix. The effects are mixed at a quarter of their
// level, so that many overlapping effects still sum without clipping; here
// the mix is brought up again and, where it would come near full scale, its
// gain is lowered smoothly instead of clipping. A short look-ahead lowers
// the gain before a loud onset arrives, and the gain comes back slowly.
// All channels share one gain, so the stereo picture stays where it was.

#include <cstdint>
#include <span>
#include <vector>

namespace mw {

class SoundLimiter {
 public:
  // Frames of look-ahead: the mix is delayed by this much (1.5 ms at 44.1 kHz).
  static constexpr int kLookahead = 64;
  // No output sample goes beyond this.
  static constexpr float kCeiling = 0.9f * 32767.0f;

  // channels interleaved (1 to 8), the rate in frames per second, and the
  // gain the mix is brought up by.
  SoundLimiter(int channels, int sample_rate, float makeup_gain);

  // Processes interleaved 16-bit samples in place; whole frames only (a
  // trailing partial frame is left as it is).
  void Process(std::span<std::int16_t> samples);

 private:
  int channels_;
  float makeup_gain_;
  float release_step_;  // fraction of the way back to full gain per frame
  float held_gain_ = 1.0f;
  std::vector<std::int16_t> delayed_;  // kLookahead frames, a ring
  std::vector<float> needed_;          // gain each of the last frames needs
  std::vector<float> held_;            // gain after release, averaged for the output
  double held_sum_ = kLookahead;
  int at_ = 0;  // ring position
};

}  // namespace mw
