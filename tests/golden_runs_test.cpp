// Golden runs: every tests/golden/NAME.script played in this process as
// `moewenschuss --headless NAME.script --events LOG --shots DIR` plays it (a
// first line `# --no-sound-device` adds that flag), the high-score file in a
// fresh folder holding NAME.table first if there is one (OEDIR names it). Its event log, with
// what it left in the folder, must be NAME.log, and its pictures' pixels must
// have the fingerprints in NAME.pictures; `make golden` writes both anew. No
// child process, no environment: the same bytes wherever the test runs.

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/program_loop.h"
#include "app/run_files.h"
#include "platform/headless/headless_platform.h"
#include "script/script.h"
#include "text/cp1252.h"

namespace mw {
namespace {

namespace fs = std::filesystem;

const fs::path kGoldenDir = fs::path(MW_SOURCE_DIR) / "tests" / "golden";
constexpr const char* kFolderMark = "$ORDNER";

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteAll(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  ASSERT_TRUE(out.good()) << "cannot write " << path;
}

// 64-bit FNV-1a, the same on every platform and compiler.
std::uint64_t Fnv1a(std::uint64_t hash, const std::uint8_t* bytes, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 0x100000001b3u;
  return hash;
}

std::string Hex(std::uint64_t value, int digits) {
  std::string hex;
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
    hex.push_back("0123456789abcdef"[(value >> shift) & 15]);
  }
  return hex;
}

// The fingerprint of a picture's pixels as RGB bytes, row by row (a PNG
// encoder may write the same picture with other bytes), or what is wrong.
std::string PixelFingerprint(const fs::path& png) {
  using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;
  const SurfacePtr loaded(IMG_Load(png.string().c_str()), SDL_FreeSurface);
  if (!loaded) return "unreadable";
  const SurfacePtr rgb(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGB24, 0),
                       SDL_FreeSurface);
  if (!rgb) return "not convertible";
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (int y = 0; y < rgb->h; ++y) {
    hash =
        Fnv1a(hash, static_cast<const std::uint8_t*>(rgb->pixels) + std::ptrdiff_t{y} * rgb->pitch,
              static_cast<std::size_t>(rgb->w) * 3);
  }
  return Hex(hash, 16);
}

// A new empty folder of its own under the system's temporary folder.
fs::path NewFolder(const std::string& name) {
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  for (auto unique = static_cast<std::uint64_t>(now);; ++unique) {
    const fs::path folder =
        fs::temp_directory_path() / ("mw_golden_" + name + "_" + Hex(unique, 16));
    if (fs::create_directory(folder)) return folder;
  }
}

// What the program does with a headless platform once it is set up: its
// loop, pass by pass, to the end.
void RunAsTheProgramDoes(HeadlessPlatform& platform, EventLog& events) {
  std::ostringstream err;
  ProgramLoop loop(platform, events, err);
  loop.Start();
  while (loop.Pass()) {
  }
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
}

struct RunResult {
  std::string log;       // with the folder's path replaced and what the run left
  std::string pictures;  // "NAME FINGERPRINT" lines, sorted by name
};

RunResult Play(const std::string& name, const fs::path& shots) {
  const fs::path script = kGoldenDir / (name + ".script");
  const fs::path folder = NewFolder(name);
  const fs::path table = folder / "highscores.pdk";
  if (fs::exists(kGoldenDir / (name + ".table")))
    fs::copy_file(kGoldenDir / (name + ".table"), table);
  HeadlessOptions options;
  options.shots_dir = shots.string();
  options.sound_device = !ReadAll(script).starts_with("# --no-sound-device\n");
  options.environment = {{"OEDIR", folder.string() + "/"}};
  const auto platform = MakeHeadlessPlatform(LoadScript(script.string()), options);
  EventLog events;
  events.KeepInMemory(true);
  RunAsTheProgramDoes(*platform, events);

  RunResult result{events.Text(), ""};
  const std::string json_folder = JsonString(Utf8ToCp1252(folder.string()));
  ReplaceAll(result.log, json_folder.substr(1, json_folder.size() - 2), kFolderMark);
  ReplaceAll(result.log, folder.string(), kFolderMark);
  result.log += "table:";
  if (!fs::exists(table)) result.log += " none";
  for (const char c : ReadAll(table)) result.log.append(" ").append(Hex(std::uint8_t(c), 2));
  result.log += "\n";
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path() != table)
      result.log += "left behind: " + entry.path().filename().string() + "\n";
  }
  fs::remove_all(folder);

  std::vector<fs::path> pngs;
  for (const auto& entry : fs::directory_iterator(shots)) pngs.push_back(entry.path());
  std::sort(pngs.begin(), pngs.end());
  for (const fs::path& png : pngs) {
    result.pictures += png.stem().string() + " " + PixelFingerprint(png) + "\n";
  }
  return result;
}

// Names the first line in which a run differs from its golden file.
void ExpectGolden(const std::string& shown, const fs::path& golden, const fs::path& kept) {
  if (shown.empty() && !fs::exists(golden)) return;
  std::istringstream want(ReadAll(golden));
  std::istringstream got(shown);
  std::string w;
  std::string g;
  for (int line = 1;; ++line) {
    const bool has_w = static_cast<bool>(std::getline(want, w));
    const bool has_g = static_cast<bool>(std::getline(got, g));
    if (has_w == has_g && w == g) {
      if (!has_w) return;
      continue;
    }
    ADD_FAILURE() << golden << " differs first in line " << line
                  << ":\n  golden: " << (has_w ? w : "(the end)")
                  << "\n  now:    " << (has_g ? g : "(the end)") << "\nThe run is in " << kept
                  << ". If the change is meant, `make golden` writes the golden files anew.";
    return;
  }
}

std::vector<std::string> ScriptNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kGoldenDir)) {
    if (entry.path().extension() == ".script") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class GoldenRuns : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenRuns, RunAsTheyDid) {
  const std::string name = GetParam();
  const fs::path kept = fs::absolute("golden-runs");
  const fs::path shots = kept / name;
  fs::remove_all(shots);
  fs::create_directories(shots);
  const RunResult run = Play(name, shots);
  WriteAll(kept / (name + ".log"), run.log);

  const fs::path log = kGoldenDir / (name + ".log");
  const fs::path pictures = kGoldenDir / (name + ".pictures");
  const char* update = std::getenv("MW_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    WriteAll(log, run.log);
    if (run.pictures.empty()) {
      fs::remove(pictures);
    } else {
      WriteAll(pictures, run.pictures);
    }
    std::cout << "Wrote " << log << "; the run is in " << kept << ".\n";
    return;
  }
  ExpectGolden(run.log, log, kept / (name + ".log"));
  ExpectGolden(run.pictures, pictures, shots);
}

INSTANTIATE_TEST_SUITE_P(Scripts, GoldenRuns, ::testing::ValuesIn(ScriptNames()),
                         [](const auto& param_info) {
                           std::string name = param_info.param;
                           for (char& c : name)
                             c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

}  // namespace
}  // namespace mw
