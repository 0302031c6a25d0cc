// The cost of the worst play-screen frame: 100 gulls, the ship, 500 splats,
// every message slot, the HUD with 8 cartridges and the crosshair, drawn from
// the state and presented on the headless platform, with the time of each
// part. Beside it, the same frame drawn the plain way (SDL_BlitSurface /
// SDL_BlitScaled without RLE, text rendered anew each frame), measured in the
// same run.

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/benches.h"
#include "embedded/embedded_files.h"
#include "game/draw_game.h"
#include "game/frame_rules.h"
#include "game/game_pictures.h"
#include "game/game_state.h"
#include "game/hud.h"
#include "game/screen_geometry.h"
#include "platform/headless/headless_platform.h"
#include "platform/sdl/sdl_surfaces.h"
#include "script/script.h"
#include "shared/session.h"
#include "text/cp1252.h"

namespace mw {
namespace {

constexpr int kWarmUpFrames = 200;
constexpr int kMeasuredFrames = 3000;

struct World {
  // The script's last line keeps the virtual clock running for all frames.
  World() : platform(ParseScript("100000000 mouse 320 240\n", "bench"), HeadlessOptions{}) {
    ChooseDefaultSettings(session);
    platform.OpenDisplay();
    LoadGamePictures(platform, pictures);
  }
  HeadlessPlatform platform;
  Session session;
  RunGameState game;
  OneGameState play;
  GamePictures pictures;
};

// Everything at its most: all of it inside the visible window.
void MakeWorstCase(World& w) {
  w.session.setting_choice[kGullCount] = 2;  // 100 gulls
  PrepareGame(w.session, w.game);
  RunGameState& game = w.game;
  game.time_left.SetValue(9);  // red clock
  game.score.SetValue(-10000);
  game.cartridges.SetValue(kRifleMagazine);
  game.view_x.SetValue(640);
  w.play.fps = 60;
  for (std::size_t i = 1; i < game.gulls.size(); ++i) {
    Gull& g = game.gulls[i];
    const auto k = static_cast<std::int16_t>(i);
    g.distance = static_cast<std::int16_t>(2 + k % 48);
    g.frame = static_cast<std::int16_t>(1 + k % 8);
    g.x = static_cast<std::int16_t>(-300 + (k * 37) % 560);
    g.y = static_cast<std::int16_t>(-220 + (k * 53) % 300);
  }
  game.ship_x = 900;
  game.ship_distance = 2;
  game.ship_sinking = 0;
  game.splat_count = kMaxSplats;
  for (int i = 1; i <= kMaxSplats; ++i) {
    game.splats[static_cast<std::size_t>(i)] = SplatPos{640 + (i * 71) % 600, (i * 29) % 380};
  }
  game.cursor_pos = {320, 240};
}

constexpr const char* kMessageTexts[] = {"- Gewehr -",
                                         "-50",
                                         "37",
                                         "-200 Zwangsscheibenwischer",
                                         "20",
                                         "- Es geht um Pluspunkte!!! -",
                                         "-8",
                                         "50",
                                         "- Das ist Ihnen wohl zu leicht -",
                                         "49",
                                         "-1"};

// Every message slot shown, half of them scrolling with the view.
void ShowEveryMessage(const RunGameState& game, OneGameState& play) {
  play.shown_message_count = 0;
  for (std::size_t i = 0; i < play.shown_messages.size(); ++i) {
    const std::int32_t x = i % 2 == 0
                               ? 40 + 40 * static_cast<std::int32_t>(i)
                               : 700 + 50 * static_cast<std::int32_t>(i) - game.view_x.Value();
    ShownMessage& shown = play.shown_messages[play.shown_message_count++];
    shown.at = {x, static_cast<std::int32_t>(100 + 25 * i)};
    shown.text = Utf8ToCp1252(kMessageTexts[i]);
    shown.loss = shown.text.front() == '-';
  }
}

// The parts of a frame in drawing order, then the picture presented.
struct Part {
  const char* name;
  std::function<void(World&)> draw;
};
const std::vector<Part>& Parts() {
  static const std::vector<Part> parts{
      {"sea", [](World& w) { DrawSea(w.game, w.play, w.pictures); }},
      {"gulls", [](World& w) { DrawGulls(w.game, w.pictures); }},
      {"ship", [](World& w) { DrawShip(w.game, w.play, w.pictures); }},
      {"splats", [](World& w) { DrawSplats(w.game, w.pictures); }},
      {"messages", [](World& w) { DrawMessages(w.play, w.pictures); }},
      {"hud", [](World& w) { DrawHud(w.game, w.play, w.pictures); }},
      {"crosshair", [](World& w) { DrawCrosshair(w.game, w.pictures); }},
      {"present", [](World& w) { w.platform.Present(w.pictures.back_buffer, kGameVisibleRect); }},
  };
  return parts;
}

void ComposeOurs(World& w) {
  DrawGame(w.game, w.play, w.pictures);
  w.platform.Present(w.pictures.back_buffer, kGameVisibleRect);
}

// The same frame the plain way, on SDL surfaces of its own.
class PlainPath {
 public:
  explicit PlainPath(World& w) : w_(w) {
    const GamePictures& pictures = w.pictures;
    back_ = Copy(SdlSurfaceOf(pictures.back_buffer), false);
    screen_ = Copy(SdlSurfaceOf(w.platform.Frame()), false);
    panorama_ = Copy(SdlSurfaceOf(pictures.panorama), false);
    for (const Surface& gull : pictures.gull_pictures) {
      gulls_.push_back(Copy(SdlSurfaceOf(gull), true));
    }
    ship_ = Copy(SdlSurfaceOf(pictures.ship), true);
    splat_ = Copy(SdlSurfaceOf(pictures.splat), true);
    cartridge_ = Copy(SdlSurfaceOf(pictures.cartridge), true);
    cursor_ = Copy(SdlSurfaceOf(pictures.crosshair), true);
    serif_ = OpenFont("LiberationSerif-Regular.ttf");
    serif_bold_ = OpenFont("LiberationSerif-Bold.ttf");
  }
  ~PlainPath() {
    for (SDL_Surface* s : owned_) SDL_FreeSurface(s);
    TTF_CloseFont(serif_);
    TTF_CloseFont(serif_bold_);
  }
  PlainPath(const PlainPath&) = delete;
  PlainPath& operator=(const PlainPath&) = delete;

  void Compose() {
    RunGameState& game = w_.game;
    const std::int32_t view_x = game.view_x.Value();
    SDL_Rect pano{view_x, 0, 640, 480};
    SDL_Rect at{100, 50, 0, 0};
    SDL_BlitSurface(panorama_, &pano, back_, &at);
    static constexpr int kPicture[] = {0, 1, 2, 3, 2, 1, 4, 5, 4};
    for (std::size_t i = 1; i < game.gulls.size(); ++i) {
      const Gull& g = game.gulls[i];
      SDL_Rect r = ToSdl(GullRect(game, g));
      SDL_BlitScaled(gulls_[static_cast<std::size_t>(kPicture[g.frame])], nullptr, back_, &r);
    }
    SDL_Rect ship = ToSdl(ShipRect(game));
    SDL_BlitScaled(ship_, nullptr, back_, &ship);
    for (int i = 1; i <= game.splat_count; ++i) {
      const SplatPos& s = game.splats[static_cast<std::size_t>(i)];
      SDL_Rect r{s.x - view_x + 100, s.y + 50, 0, 0};
      SDL_BlitSurface(splat_, nullptr, back_, &r);
    }
    for (std::size_t i = 0; i < w_.play.shown_message_count; ++i) {
      const ShownMessage& shown = w_.play.shown_messages[i];
      Text(serif_bold_, shown.text,
           shown.loss ? SDL_Color{255, 0, 0, 255} : SDL_Color{0, 102, 0, 255}, shown.at.x + 100,
           shown.at.y + 50, nullptr);
    }
    Text(serif_, std::to_string(w_.play.fps) + "fps", {255, 255, 255, 255}, 110, 500, nullptr);
    const std::string score = std::to_string(game.score.Value());
    Text(serif_bold_, score, {0, 0, 0, 255}, ScoreTextX(score), 50, nullptr);
    Text(serif_bold_, ClockText(game.time_left.Value()), {255, 0, 0, 255}, 100, 50, nullptr);
    for (int i = 1; i <= game.cartridges.Value(); ++i) {
      SDL_Rect r{720 - 20 * i, 470, 0, 0};
      SDL_BlitSurface(cartridge_, nullptr, back_, &r);
    }
    const SDL_Color green{0, 85, 0, 255};
    Text(serif_bold_, "Scheibenwischer", {255, 255, 255, 255}, 270, 500, &green);
    SDL_Rect cursor{320 - 16 + 100, 240 - 16 + 50, 0, 0};
    SDL_BlitSurface(cursor_, nullptr, back_, &cursor);
    SDL_Rect visible{100, 50, 640, 480};
    SDL_BlitSurface(back_, &visible, screen_, nullptr);
  }

 private:
  static SDL_Rect ToSdl(Rect r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

  SDL_Surface* Copy(SDL_Surface* from, bool keyed) {
    SDL_Surface* s = SDL_ConvertSurface(from, from->format, 0);
    if (s == nullptr) throw std::runtime_error(SDL_GetError());
    Uint32 key = 0;
    // SDL_ConvertSurface passes RLE on; the plain path has none.
    SDL_SetSurfaceRLE(s, 0);
    SDL_SetColorKey(s, SDL_FALSE, 0);
    if (keyed && SDL_GetColorKey(from, &key) == 0) SDL_SetColorKey(s, SDL_TRUE, key);
    owned_.push_back(s);
    return s;
  }

  static TTF_Font* OpenFont(const char* name) {
    const EmbeddedFile* file = FindEmbeddedFile(name);
    if (file == nullptr) throw std::runtime_error(std::string("no font ") + name);
    SDL_RWops* rw = SDL_RWFromConstMem(file->data, static_cast<int>(file->size));
    TTF_Font* font = TTF_OpenFontRW(rw, 1, 27);
    if (font == nullptr) throw std::runtime_error(TTF_GetError());
    return font;
  }

  void Text(TTF_Font* font, const std::string& cp1252, SDL_Color colour, int x, int y,
            const SDL_Color* back) {
    SDL_Surface* text = TTF_RenderUTF8_Blended(font, Cp1252ToUtf8(cp1252).c_str(), colour);
    if (text == nullptr) return;
    SDL_Rect r{x, y, text->w, text->h};
    if (back != nullptr)
      SDL_FillRect(back_, &r, SDL_MapRGB(back_->format, back->r, back->g, back->b));
    SDL_BlitSurface(text, nullptr, back_, &r);
    SDL_FreeSurface(text);
  }

  World& w_;
  std::vector<SDL_Surface*> owned_;
  SDL_Surface* back_ = nullptr;
  SDL_Surface* screen_ = nullptr;
  SDL_Surface* panorama_ = nullptr;
  std::vector<SDL_Surface*> gulls_;
  SDL_Surface* ship_ = nullptr;
  SDL_Surface* splat_ = nullptr;
  SDL_Surface* cartridge_ = nullptr;
  SDL_Surface* cursor_ = nullptr;
  TTF_Font* serif_ = nullptr;
  TTF_Font* serif_bold_ = nullptr;
};

double MedianMs(const std::function<void()>& frame) {
  for (int i = 0; i < kWarmUpFrames; ++i) frame();
  std::vector<double> ms;
  ms.reserve(kMeasuredFrames);
  for (int i = 0; i < kMeasuredFrames; ++i) {
    const auto start = std::chrono::steady_clock::now();
    frame();
    const auto end = std::chrono::steady_clock::now();
    ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
  }
  std::nth_element(ms.begin(), ms.begin() + kMeasuredFrames / 2, ms.end());
  return ms[kMeasuredFrames / 2];
}

}  // namespace

int RunFrameBench() {
  World world;
  MakeWorstCase(world);
  ShowEveryMessage(world.game, world.play);
  ComposeOurs(world);  // the first frame makes the platform's RLE copies
  PlainPath plain(world);
  const double ours = MedianMs([&] { ComposeOurs(world); });
  const double plain_ms = MedianMs([&] { plain.Compose(); });
  std::printf("frames measured: %d of each (after %d warm-up frames)\n", kMeasuredFrames,
              kWarmUpFrames);
  std::printf("worst-case frame: %.3f ms median (plain SDL path: %.3f ms, %.1fx faster)\n", ours,
              plain_ms, plain_ms / ours);
  std::printf("  by part (median of each, drawn on its own):");
  for (const Part& part : Parts()) {
    std::printf(" %s %.3f ms;", part.name, MedianMs([&] { part.draw(world); }));
  }
  std::printf("\n");
  return 0;
}

}  // namespace mw

int main() {
  if (TTF_WasInit() == 0 && TTF_Init() != 0) {
    std::fprintf(stderr, "moewenschuss_bench: %s\n", TTF_GetError());
    return 1;
  }
  try {
    const int frame = mw::RunFrameBench();
    const int replay = mw::RunReplayBench();
    return frame != 0 ? frame : replay;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "moewenschuss_bench: %s\n", e.what());
    return 1;
  }
}
