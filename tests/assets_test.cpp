// Checks the committed pictures and sounds for what the golden runs cannot
// see in them: the ship's waterline, the crosshair's centre, and sounds that
// neither clip nor click and are about as loud as each other.

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

struct SurfaceFree {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFree>;

std::string AssetPath(const std::string& name) {
  return std::string(MW_ASSET_DIR) + "/" + name;
}

// A picture file as RGB24.
SurfacePtr LoadPicture(const std::string& name) {
  const SurfacePtr bmp(SDL_LoadBMP(AssetPath(name).c_str()));
  if (!bmp) return SurfacePtr();
  return SurfacePtr(SDL_ConvertSurfaceFormat(bmp.get(), SDL_PIXELFORMAT_RGB24, 0));
}

// Pixel value of an RGB24 surface.
Uint32 PixelAt(const SDL_Surface* s, int x, int y) {
  const auto* row =
      static_cast<const Uint8*>(s->pixels) + static_cast<std::ptrdiff_t>(y) * s->pitch;
  const Uint8* p = row + x * 3;
  return static_cast<Uint32>(p[0]) << 16 | static_cast<Uint32>(p[1]) << 8 | p[2];
}

// The ship sinks by losing rows at the bottom, so its hull must sit on the last row; the
// crosshair is drawn at mouse - 16, so its drawing must be centred on pixel (16, 16).
TEST(AssetPictures, ShipSitsOnItsWaterlineAndCrosshairIsCentred) {
  SurfacePtr ship = LoadPicture("14.pdk");
  ASSERT_TRUE(ship);
  int hull = 0;
  for (int x = 0; x < ship->w; ++x) hull += PixelAt(ship.get(), x, ship->h - 1) != 0xFF0000 ? 1 : 0;
  EXPECT_GT(hull, ship->w * 3 / 4);

  SurfacePtr cross = LoadPicture("4.pdk");
  ASSERT_TRUE(cross);
  double sx = 0, sy = 0, n = 0;
  for (int y = 0; y < cross->h; ++y)
    for (int x = 0; x < cross->w; ++x)
      if (PixelAt(cross.get(), x, y) != 0) {
        sx += x;
        sy += y;
        n += 1;
      }
  ASSERT_GT(n, 0);
  EXPECT_NEAR(sx / n, 16.0, 0.5);
  EXPECT_NEAR(sy / n, 16.0, 0.5);
}

struct Sound {
  const char* name;
  double seconds;
};

const std::vector<Sound> kSounds = {{"20.pdk", 1.93}, {"21.pdk", 0.58}, {"22.pdk", 0.71},
                                    {"23.pdk", 0.86}, {"24.pdk", 0.74}, {"25.pdk", 0.63},
                                    {"26.pdk", 1.25}};

std::vector<Sint16> LoadSamples(const Sound& snd) {
  SDL_AudioSpec format;
  Uint8* buf = nullptr;
  Uint32 len = 0;
  if (!SDL_LoadWAV(AssetPath(snd.name).c_str(), &format, &buf, &len)) {
    ADD_FAILURE() << snd.name << ": " << SDL_GetError();
    return {};
  }
  EXPECT_EQ(format.freq, 22050) << snd.name;
  EXPECT_EQ(format.channels, 1) << snd.name;
  EXPECT_EQ(format.format, AUDIO_S16LSB) << snd.name;
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

TEST(AssetSounds, FormatLengthAndLevel) {
  std::vector<double> loudness;
  for (const Sound& snd : kSounds) {
    const std::vector<Sint16> x = LoadSamples(snd);
    ASSERT_FALSE(x.empty()) << snd.name;
    const double seconds = static_cast<double>(x.size()) / 22050.0;
    EXPECT_NEAR(seconds, snd.seconds, snd.seconds * 0.25) << snd.name;

    int peak = 0;
    for (Sint16 v : x) peak = std::max(peak, std::abs(static_cast<int>(v)));
    EXPECT_LT(peak, 32000) << snd.name << " clips";
    // A sound that starts or stops away from zero clicks.
    EXPECT_LT(std::abs(static_cast<int>(x.front())), 300) << snd.name;
    EXPECT_LT(std::abs(static_cast<int>(x.back())), 300) << snd.name;
    loudness.push_back(ActiveRms(x));
  }
  const auto [quietest, loudest] = std::minmax_element(loudness.begin(), loudness.end());
  ASSERT_GT(*quietest, 0.0);
  EXPECT_LT(*loudest / *quietest, 2.0) << "effects differ too much in loudness";
}

}  // namespace
