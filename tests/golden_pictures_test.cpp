// Golden pictures: four screens (five pictures, the game twice) drawn by the
// real program headless, each compared with the SHA-256 of its pixels as kept
// in tests/golden/pictures.txt.
// A wrong wing-beat picture, a background one pixel off or a message in the
// wrong colour changes a fingerprint, where the other tests look only at a
// few pixels or at the event log.
//
// The pixels are hashed, not the PNG files: an encoder may write the same
// picture with other bytes. The hash is that of the RGB bytes, row by row, so
// `convert NAME.png rgb:- | sha256sum` gives it as well.
//
// After a change that is meant to change the screens, `make golden` writes
// the fingerprints anew (MW_UPDATE_GOLDEN=1 for this test).

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "hardening_sandbox.h"

namespace mw::test {
namespace {

namespace fs = std::filesystem;

const fs::path kGoldenDir = fs::path(MW_SOURCE_DIR) / "tests" / "golden";
const fs::path kScript = kGoldenDir / "pictures.script";
const fs::path kFingerprints = kGoldenDir / "pictures.txt";

// SHA-256 (FIPS 180-4) of a byte stream.
class Sha256 {
 public:
  void Add(const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
      block_[filled_++] = data[i];
      if (filled_ == 64) Compress();
    }
    length_ += size;
  }
  std::string HexDigest() {
    const std::uint64_t bits = length_ * 8;
    const std::uint8_t one = 0x80;
    const std::uint8_t zero = 0;
    Add(&one, 1);
    while (filled_ != 56) Add(&zero, 1);
    for (int shift = 56; shift >= 0; shift -= 8) {
      block_[filled_++] = static_cast<std::uint8_t>(bits >> shift);
    }
    Compress();
    std::string hex;
    for (const std::uint32_t word : state_) {
      for (int shift = 28; shift >= 0; shift -= 4)
        hex.push_back("0123456789abcdef"[(word >> shift) & 15]);
    }
    return hex;
  }

 private:
  static std::uint32_t Rotate(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }
  void Compress() {
    static constexpr std::array<std::uint32_t, 64> k = {
        0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4,
        0xab1c5ed5, 0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe,
        0x9bdc06a7, 0xc19bf174, 0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f,
        0x4a7484aa, 0x5cb0a9dc, 0x76f988da, 0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7,
        0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967, 0x27b70a85, 0x2e1b2138, 0x4d2c6dfc,
        0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85, 0xa2bfe8a1, 0xa81a664b,
        0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070, 0x19a4c116,
        0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
        0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7,
        0xc67178f2};
    std::array<std::uint32_t, 64> w{};
    for (int i = 0; i < 16; ++i) {
      w[i] = static_cast<std::uint32_t>(block_[4 * i]) << 24 |
             static_cast<std::uint32_t>(block_[4 * i + 1]) << 16 |
             static_cast<std::uint32_t>(block_[4 * i + 2]) << 8 | block_[4 * i + 3];
    }
    for (int i = 16; i < 64; ++i) {
      const std::uint32_t s0 = Rotate(w[i - 15], 7) ^ Rotate(w[i - 15], 18) ^ (w[i - 15] >> 3);
      const std::uint32_t s1 = Rotate(w[i - 2], 17) ^ Rotate(w[i - 2], 19) ^ (w[i - 2] >> 10);
      w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    auto [a, b, c, d, e, f, g, h] = state_;
    for (int i = 0; i < 64; ++i) {
      const std::uint32_t t1 =
          h + (Rotate(e, 6) ^ Rotate(e, 11) ^ Rotate(e, 25)) + ((e & f) ^ (~e & g)) + k[i] + w[i];
      const std::uint32_t t2 =
          (Rotate(a, 2) ^ Rotate(a, 13) ^ Rotate(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
      h = g;
      g = f;
      f = e;
      e = d + t1;
      d = c;
      c = b;
      b = a;
      a = t1 + t2;
    }
    const std::array<std::uint32_t, 8> add = {a, b, c, d, e, f, g, h};
    for (std::size_t i = 0; i < 8; ++i) state_[i] += add[i];
    filled_ = 0;
  }

  std::array<std::uint32_t, 8> state_ = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                         0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  std::array<std::uint8_t, 64> block_{};
  std::size_t filled_ = 0;
  std::uint64_t length_ = 0;
};

std::string Sha256Of(std::string_view text) {
  Sha256 sha;
  sha.Add(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  return sha.HexDigest();
}

// The SHA-256 of a 640x480 PNG's pixels as RGB bytes, or a line that says
// what is wrong with the file.
std::string PixelFingerprint(const fs::path& png) {
  using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;
  const SurfacePtr loaded(IMG_Load(png.c_str()), SDL_FreeSurface);
  if (!loaded) return "unreadable: " + std::string(IMG_GetError());
  if (loaded->w != 640 || loaded->h != 480) {
    return "size " + std::to_string(loaded->w) + "x" + std::to_string(loaded->h) + ", not 640x480";
  }
  const SurfacePtr rgb(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGB24, 0),
                       SDL_FreeSurface);
  if (!rgb) return "not convertible: " + std::string(SDL_GetError());
  Sha256 sha;
  for (int y = 0; y < rgb->h; ++y) {
    sha.Add(
        static_cast<const std::uint8_t*>(rgb->pixels) + static_cast<std::ptrdiff_t>(y) * rgb->pitch,
        static_cast<std::size_t>(rgb->w) * 3);
  }
  return sha.HexDigest();
}

// name -> fingerprint, from lines "NAME SHA256" ('#' starts a comment).
std::map<std::string, std::string> ReadFingerprints() {
  std::map<std::string, std::string> kept;
  std::ifstream in(kFingerprints);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string name;
    std::string hash;
    if (fields >> name >> hash && name[0] != '#') kept[name] = hash;
  }
  return kept;
}

void WriteFingerprints(const std::map<std::string, std::string>& shown) {
  std::ofstream out(kFingerprints, std::ios::trunc);
  out << "# The golden pictures: SHA-256 of each picture's pixels (RGB bytes, row by row)\n"
         "# as tests/golden/pictures.script draws them. Written by `make golden`.\n";
  for (const auto& [name, hash] : shown) out << name << ' ' << hash << '\n';
  ASSERT_TRUE(out.good()) << "cannot write " << kFingerprints;
}

TEST(GoldenPictures, HashIsSha256) {
  EXPECT_EQ(Sha256Of("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  // Two blocks: the padding does not fit behind 56 bytes.
  EXPECT_EQ(Sha256Of("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
}

TEST(GoldenPictures, ScreensLookAsTheyDid) {
  // The pictures stay in the build folder, to be looked at when one differs.
  const fs::path shots = fs::absolute("golden-pictures");
  fs::remove_all(shots);
  fs::create_directories(shots);
  const ProcessResult run =
      RunExecutable({"--headless", kScript.string(), "--shots", shots.string()}, shots);
  ASSERT_EQ(run.status, 0) << run.out << run.err;

  std::map<std::string, std::string> shown;
  for (const auto& entry : fs::directory_iterator(shots)) {
    if (entry.path().extension() == ".png")
      shown[entry.path().stem().string()] = PixelFingerprint(entry.path());
  }
  ASSERT_FALSE(shown.empty()) << "the script wrote no picture into " << shots;

  const char* update = std::getenv("MW_UPDATE_GOLDEN");
  if (update != nullptr && std::string_view(update) == "1") {
    WriteFingerprints(shown);
    std::cout << "Wrote " << shown.size() << " fingerprints to " << kFingerprints
              << "; the pictures are in " << shots << ".\n";
    return;
  }

  const std::string again =
      "If the change is meant, write the fingerprints anew with `make golden`.";
  const auto kept = ReadFingerprints();
  for (const auto& [name, hash] : shown) {
    const auto golden = kept.find(name);
    if (golden == kept.end()) {
      ADD_FAILURE() << "The picture \"" << name << "\" has no fingerprint in " << kFingerprints
                    << ". " << again;
    } else {
      EXPECT_EQ(hash, golden->second)
          << "The picture \"" << name << "\" differs from its golden fingerprint; "
          << "look at " << (shots / (name + ".png")) << ". " << again;
    }
  }
  for (const auto& [name, hash] : kept) {
    EXPECT_TRUE(shown.contains(name))
        << "The golden picture \"" << name << "\" was not drawn by " << kScript << ". " << again;
  }
}

}  // namespace
}  // namespace mw::test
