// The cost of the worst play-screen frame: 100 gulls, the ship, 500 splats,
// every message slot, the HUD with 8 cartridges and the crosshair, composed
// and flipped on the headless platform. Beside it, the same frame drawn the
// plain way (SDL_BlitSurface / SDL_BlitScaled without RLE, text rendered anew
// each frame), measured in the same run.

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
#include "game/game_state.h"
#include "game/hud.h"
#include "game/phases.h"
#include "game/screen_geometry.h"
#include "platform/headless/headless_platform.h"
#include "platform/sdl/sdl_surfaces.h"
#include "script/script.h"
#include "shared/display_state.h"
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
    MakeMenuBackBuffer(platform, display);
  }
  HeadlessPlatform platform;
  Session session;
  DisplayState display;
  GameState game;
  PlayState play;
  GameContext ctx{platform, session, game, play};
};

// Everything at its most: all of it inside the visible window.
void MakeWorstCase(World& w) {
  w.session.setting_choice[kGullCount] = 2;  // 100 gulls
  PrepareGame(w.session, w.game);
  SetUpGame(w.ctx, kClockStart);
  GameState& game = w.game;
  game.time_left.SetValue(9);  // red clock
  game.score.SetValue(-10000);
  game.cartridges.SetValue(8);
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
}

// The messages age as they are drawn; give them back their full life.
void RefillMessages(GameState& game) {
  static const char* const kTexts[] = {"- Gewehr -",
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
  for (std::size_t i = 0; i < game.messages.size(); ++i) {
    MessageSlot& slot = game.messages[i];
    slot.x = static_cast<std::int16_t>(i % 2 == 0 ? -(40 + 40 * static_cast<int>(i))
                                                  : 700 + 50 * static_cast<int>(i));
    slot.y = static_cast<std::int16_t>(100 + 25 * i);
    slot.life = 50;
    slot.text = Utf8ToCp1252(kTexts[i]);
  }
}

void ComposeOurs(World& w) {
  GameState& game = w.game;
  const std::int32_t view_x = game.view_x.Value();
  // No step and no shot: the gulls and the ship are drawn where they are.
  w.play.step_due = false;
  w.play.shot_fired = false;
  w.game.back_buffer.BlitImage(100, 50, game.panorama_image, Rect{view_x, 0, view_x + 640, 480},
                               false);
  GullPhase(w.ctx);
  ShipPhase(w.ctx);
  DrawSplats(w.ctx);
  RefillMessages(game);
  MessagePass(w.ctx);
  DrawHud(w.ctx);
  DrawCrosshairAndFlip(w.ctx, Point{});
}

// The same frame the plain way, on SDL surfaces of its own.
class PlainPath {
 public:
  explicit PlainPath(World& w) : w_(w) {
    const GameState& game = w.game;
    back_ = Copy(SdlSurfaceOf(w.game.back_buffer), false);
    screen_ = Copy(SdlSurfaceOf(w.platform.Frame()), false);
    panorama_ = Copy(SdlSurfaceOf(game.panorama_image), false);
    for (const Surface& gull : game.gull_pictures) gulls_.push_back(Copy(SdlSurfaceOf(gull), true));
    ship_ = Copy(SdlSurfaceOf(game.ship_image), true);
    splat_ = Copy(SdlSurfaceOf(game.splat_image), true);
    cartridge_ = Copy(SdlSurfaceOf(game.cartridge_image), true);
    cursor_ = Copy(SdlSurfaceOf(w.game.crosshair), true);
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
    GameState& game = w_.game;
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
    RefillMessages(game);
    for (MessageSlot& slot : game.messages) {
      const bool loss = slot.text.front() == '-';
      const std::int32_t x = slot.x > 0 ? slot.x - view_x : -slot.x;
      Text(serif_bold_, slot.text, loss ? SDL_Color{255, 0, 0, 255} : SDL_Color{0, 102, 0, 255},
           x + 100, slot.y + 50, nullptr);
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
  ComposeOurs(world);  // the first frame makes the platform's RLE copies
  PlainPath plain(world);
  const double ours = MedianMs([&] { ComposeOurs(world); });
  const double plain_ms = MedianMs([&] { plain.Compose(); });
  std::printf("frames measured: %d of each (after %d warm-up frames)\n", kMeasuredFrames,
              kWarmUpFrames);
  std::printf("worst-case frame: %.2f ms median (plain SDL path: %.2f ms, %.1fx faster)\n", ours,
              plain_ms, plain_ms / ours);
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
