// The limiter at the end of the sound mix: quiet mixes pass through only
// raised by the gain, loud ones never reach full scale, and the gain comes
// back after a loud passage.

#include "audio/sound_limiter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace mw {
namespace {

constexpr int kRate = 44100;
constexpr float kGain = 2.0f;

// Stereo frames of a sine, the same on both channels unless told otherwise.
std::vector<std::int16_t> Sine(int frames, double amplitude, double hertz, double right = -1) {
  std::vector<std::int16_t> samples;
  for (int f = 0; f < frames; ++f) {
    const double v = std::sin(2 * std::numbers::pi * hertz * f / kRate);
    samples.push_back(static_cast<std::int16_t>(std::lround(amplitude * v)));
    samples.push_back(static_cast<std::int16_t>(std::lround((right < 0 ? amplitude : right) * v)));
  }
  return samples;
}

// Runs in blocks of the size the mixer hands over, as the audio thread does.
std::vector<std::int16_t> Limit(SoundLimiter& limiter, std::vector<std::int16_t> samples) {
  for (std::size_t at = 0; at < samples.size(); at += 2048) {
    const std::size_t n = std::min<std::size_t>(2048, samples.size() - at);
    limiter.Process({samples.data() + at, n});
  }
  return samples;
}

int Peak(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to, int channel) {
  int peak = 0;
  for (std::size_t i = from * 2 + channel; i < to * 2; i += 2)
    peak = std::max(peak, std::abs(int{s[i]}));
  return peak;
}

TEST(SoundLimiter, AQuietMixIsOnlyRaisedByTheGainAndDelayedByTheLookahead) {
  SoundLimiter limiter(2, kRate, kGain);
  const std::vector<std::int16_t> in = Sine(kRate / 10, 12000, 440);
  const std::vector<std::int16_t> out = Limit(limiter, in);
  const std::size_t delay = 2 * SoundLimiter::kLookahead;
  for (std::size_t i = delay; i < in.size(); ++i) {
    ASSERT_NEAR(out[i], in[i - delay] * kGain, 1.0) << "sample " << i;
  }
}

TEST(SoundLimiter, ALoudMixNeverReachesFullScaleAndStaysLoud) {
  SoundLimiter limiter(2, kRate, kGain);
  // Quiet, then a full-scale onset (four times the ceiling after the gain),
  // a low tone whose peaks come slowly, and quiet again.
  std::vector<std::int16_t> in = Sine(kRate / 20, 3000, 440);
  for (const auto& part :
       {Sine(kRate / 5, 32767, 1000), Sine(kRate / 5, 30000, 50), Sine(kRate / 20, 3000, 440)}) {
    in.insert(in.end(), part.begin(), part.end());
  }
  const std::vector<std::int16_t> out = Limit(limiter, in);
  const int peak = Peak(out, 0, out.size() / 2, 0);
  EXPECT_LE(peak, static_cast<int>(SoundLimiter::kCeiling) + 1);
  EXPECT_GE(peak, static_cast<int>(0.8f * SoundLimiter::kCeiling));
  // The loud tone is held near the ceiling, not pushed down to a whisper.
  const std::size_t loud_start = kRate / 20 + SoundLimiter::kLookahead + kRate / 50;
  EXPECT_GE(Peak(out, loud_start, loud_start + kRate / 10, 0), 0.8f * SoundLimiter::kCeiling);
  // And it moves smoothly: no jump between neighbouring samples larger than
  // the steepest slope the raised input itself has.
  for (std::size_t i = 2; i < out.size(); i += 2) {
    ASSERT_LE(std::abs(out[i] - out[i - 2]),
              2 * std::numbers::pi * 1000 / kRate * 32767 * kGain + 2)
        << "frame " << i / 2;
  }
}

TEST(SoundLimiter, BothChannelsShareTheGainAndItComesBackAfterALoudPassage) {
  SoundLimiter limiter(2, kRate, kGain);
  std::vector<std::int16_t> in = Sine(kRate / 10, 32000, 300, 4000);  // loud left, quiet right
  const std::vector<std::int16_t> quiet = Sine(kRate / 2, 4000, 300);
  in.insert(in.end(), quiet.begin(), quiet.end());
  const std::vector<std::int16_t> out = Limit(limiter, in);

  // While the left is limited the right is lowered as much: the ratio holds.
  const std::size_t loud_from = SoundLimiter::kLookahead + kRate / 50;
  const std::size_t loud_to = kRate / 10;
  const double ratio =
      static_cast<double>(Peak(out, loud_from, loud_to, 1)) / Peak(out, loud_from, loud_to, 0);
  EXPECT_NEAR(ratio, 4000.0 / 32000.0, 0.01);
  EXPECT_LT(Peak(out, loud_from, loud_to, 1), 4000 * kGain * 0.6);

  // Half a second later the quiet tone is back at its full raised level.
  const std::size_t end = out.size() / 2;
  EXPECT_NEAR(Peak(out, end - kRate / 10, end, 1), 4000 * kGain, 4000 * kGain * 0.01);
}

TEST(SoundLimiter, MonoAndPartialFramesAreHandled) {
  SoundLimiter limiter(1, kRate, kGain);
  std::vector<std::int16_t> in(1001, 32767);
  limiter.Process(in);
  for (const std::int16_t s : in) ASSERT_LE(s, static_cast<int>(SoundLimiter::kCeiling) + 1);
  SoundLimiter stereo(2, kRate, kGain);
  std::vector<std::int16_t> odd{100, 100, 100};
  stereo.Process(odd);
  EXPECT_EQ(odd[2], 100);  // the half frame is left alone
}

}  // namespace
}  // namespace mw
