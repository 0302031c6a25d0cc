// Checks the committed sounds for what the golden runs cannot hear in them:
// sounds that neither clip nor click and are about as loud as each other.
// (The pictures' every pixel is in the golden runs' pictures.)

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

std::string AssetPath(const std::string& name) {
  return std::string(MW_ASSET_DIR) + "/" + name;
}

std::vector<Sint16> LoadSamples(const std::string& name) {
  SDL_AudioSpec format;
  Uint8* buf = nullptr;
  Uint32 len = 0;
  if (!SDL_LoadWAV(AssetPath(name).c_str(), &format, &buf, &len)) {
    ADD_FAILURE() << name << ": " << SDL_GetError();
    return {};
  }
  EXPECT_EQ(format.freq, 22050) << name;
  EXPECT_EQ(format.channels, 1) << name;
  EXPECT_EQ(format.format, AUDIO_S16LSB) << name;
  std::vector<Sint16> samples(len / 2);
  SDL_memcpy(samples.data(), buf, samples.size() * 2);
  SDL_FreeWAV(buf);
  return samples;
}

// Loudness of the part that sounds: 20 ms windows at least a tenth as loud as the loudest.
double ActiveRms(const std::vector<Sint16>& x) {
  constexpr std::size_t kWindow = 441;
  std::vector<double> energy;
  for (std::size_t i = 0; i + kWindow <= x.size(); i += kWindow) {
    double e = 0;
    for (std::size_t j = i; j < i + kWindow; ++j) e += static_cast<double>(x[j]) * x[j];
    energy.push_back(e / kWindow);
  }
  if (energy.empty()) return 0;
  const double loudest = *std::max_element(energy.begin(), energy.end());
  double sum = 0;
  int count = 0;
  for (double e : energy)
    if (e >= loudest * 0.01) {
      sum += e;
      ++count;
    }
  return std::sqrt(sum / count) / 32768.0;
}

TEST(AssetSounds, FormatAndLevel) {
  std::vector<double> loudness;
  for (int number = 20; number <= 26; ++number) {
    const std::string name = std::to_string(number) + ".pdk";
    const std::vector<Sint16> x = LoadSamples(name);
    ASSERT_FALSE(x.empty()) << name;

    int peak = 0;
    for (Sint16 v : x) peak = std::max(peak, std::abs(static_cast<int>(v)));
    EXPECT_LT(peak, 32000) << name << " clips";
    // A sound that starts or stops away from zero clicks.
    EXPECT_LT(std::abs(static_cast<int>(x.front())), 300) << name;
    EXPECT_LT(std::abs(static_cast<int>(x.back())), 300) << name;
    loudness.push_back(ActiveRms(x));
  }
  const auto [quietest, loudest] = std::minmax_element(loudness.begin(), loudness.end());
  ASSERT_GT(*quietest, 0.0);
  EXPECT_LT(*loudest / *quietest, 2.0) << "effects differ too much in loudness";
}

}  // namespace
