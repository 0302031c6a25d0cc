// Checks the committed pictures and sounds the way the game uses them: loaded by SDL,
// reduced to 16 bits per pixel, keyed, and played side by side.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#ifndef MW_ASSET_DIR
#error "MW_ASSET_DIR must name the folder with the committed assets"
#endif

namespace {

struct SurfaceFree {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFree>;

std::string AssetPath(const std::string& name) {
  return std::string(MW_ASSET_DIR) + "/" + name;
}

SurfacePtr LoadPicture(const std::string& name) {
  SurfacePtr s(SDL_LoadBMP(AssetPath(name).c_str()));
  EXPECT_TRUE(s) << name << ": " << SDL_GetError();
  return s;
}

SurfacePtr Convert(SDL_Surface* s, Uint32 format) {
  SurfacePtr out(SDL_ConvertSurfaceFormat(s, format, 0));
  EXPECT_TRUE(out) << SDL_GetError();
  return out;
}

// Pixel value of a converted surface, whatever its depth.
Uint32 PixelAt(const SDL_Surface* s, int x, int y) {
  const auto* row =
      static_cast<const Uint8*>(s->pixels) + static_cast<std::ptrdiff_t>(y) * s->pitch;
  if (s->format->BytesPerPixel == 2) {
    Uint16 v;
    SDL_memcpy(&v, row + x * 2, 2);
    return v;
  }
  const Uint8* p = row + x * 3;
  return static_cast<Uint32>(p[0]) << 16 | static_cast<Uint32>(p[1]) << 8 | p[2];
}

enum class Key { None, Black, Blue, Red };

struct Picture {
  const char* name;
  int width;
  int height;
  Key key;
  double min_sprite_share;  // keyed pictures must actually show something
  bool border_is_key;       // free-standing sprites must not be cut off at their frame
};

const std::vector<Picture> kPictures = {
    {"1.pdk", 640, 480, Key::None, 0, false},   {"2.pdk", 640, 480, Key::None, 0, false},
    {"3.pdk", 640, 480, Key::None, 0, false},   {"4.pdk", 32, 32, Key::Black, 0.08, false},
    {"5.pdk", 1920, 480, Key::None, 0, false},  {"6.pdk", 100, 50, Key::Blue, 0.12, true},
    {"7.pdk", 100, 50, Key::Blue, 0.12, true},  {"8.pdk", 100, 50, Key::Blue, 0.12, true},
    {"9.pdk", 100, 50, Key::Blue, 0.12, true},  {"10.pdk", 100, 50, Key::Blue, 0.12, true},
    {"11.pdk", 100, 50, Key::Blue, 0.12, true}, {"12.pdk", 40, 60, Key::Blue, 0.15, true},
    {"13.pdk", 100, 100, Key::Blue, 0.2, true}, {"14.pdk", 200, 100, Key::Red, 0.35, false},
};

Uint32 KeyRgb(Key k) {
  switch (k) {
    case Key::Blue:
      return 0x0000FF;
    case Key::Red:
      return 0xFF0000;
    default:
      return 0;
  }
}

TEST(AssetPictures, LoadWithTheirSizes) {
  for (const Picture& p : kPictures) {
    SurfacePtr s = LoadPicture(p.name);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->w, p.width) << p.name;
    EXPECT_EQ(s->h, p.height) << p.name;
  }
}

// The game keys in the display's 16-bit form: a sprite pixel that collapses onto the key
// would vanish, a key pixel that does not would leave a coloured box around the sprite.
TEST(AssetPictures, KeyIsExactInBothSixteenBitLayouts) {
  for (const Picture& p : kPictures) {
    if (p.key == Key::None) continue;
    SurfacePtr loaded = LoadPicture(p.name);
    ASSERT_TRUE(loaded);
    SurfacePtr rgb = Convert(loaded.get(), SDL_PIXELFORMAT_RGB24);
    ASSERT_TRUE(rgb);
    const Uint32 key = KeyRgb(p.key);
    for (Uint32 format : {SDL_PIXELFORMAT_RGB565, SDL_PIXELFORMAT_RGB555}) {
      SurfacePtr low = Convert(loaded.get(), format);
      ASSERT_TRUE(low);
      const Uint32 key16 = SDL_MapRGB(low->format, static_cast<Uint8>(key >> 16),
                                      static_cast<Uint8>(key >> 8), static_cast<Uint8>(key));
      int collisions = 0;
      for (int y = 0; y < rgb->h; ++y)
        for (int x = 0; x < rgb->w; ++x)
          if ((PixelAt(low.get(), x, y) == key16) != (PixelAt(rgb.get(), x, y) == key))
            ++collisions;
      EXPECT_EQ(collisions, 0) << p.name << " in " << SDL_GetPixelFormatName(format);
    }

    int sprite = 0;
    int borderSprite = 0;
    for (int y = 0; y < rgb->h; ++y)
      for (int x = 0; x < rgb->w; ++x) {
        if (PixelAt(rgb.get(), x, y) == key) continue;
        ++sprite;
        if (x == 0 || y == 0 || x == rgb->w - 1 || y == rgb->h - 1) ++borderSprite;
      }
    EXPECT_GE(sprite, static_cast<int>(p.min_sprite_share * rgb->w * rgb->h)) << p.name;
    if (p.border_is_key) {
      EXPECT_EQ(borderSprite, 0) << p.name << " touches its frame";
    }
  }
}

// The ship sinks by losing rows at the bottom, so its hull must sit on the last row; the
// crosshair is drawn at mouse - 16, so its drawing must be centred on pixel (16, 16).
TEST(AssetPictures, ShipSitsOnItsWaterlineAndCrosshairIsCentred) {
  SurfacePtr ship = Convert(LoadPicture("14.pdk").get(), SDL_PIXELFORMAT_RGB24);
  ASSERT_TRUE(ship);
  int hull = 0;
  for (int x = 0; x < ship->w; ++x) hull += PixelAt(ship.get(), x, ship->h - 1) != 0xFF0000 ? 1 : 0;
  EXPECT_GT(hull, ship->w * 3 / 4);

  SurfacePtr cross = Convert(LoadPicture("4.pdk").get(), SDL_PIXELFORMAT_RGB24);
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
