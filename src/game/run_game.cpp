#include <cstdint>
#include <string_view>

#include "errors/runtime_error.h"
#include "game/phases.h"
#include "game/screen_geometry.h"
#include "shared/input_waits.h"

namespace mw {
namespace {

constexpr std::int32_t kViewXStart = 640;
constexpr std::int32_t kScrollStep = 10;

// The system cursor stays hidden while a game runs, however the game ends
// (an error included), so the message box of an error has its cursor back.
class GameModeScope {
 public:
  explicit GameModeScope(Platform& platform) : platform_(platform) { platform_.SetGameMode(true); }
  ~GameModeScope() { platform_.SetGameMode(false); }
  GameModeScope(const GameModeScope&) = delete;
  GameModeScope& operator=(const GameModeScope&) = delete;

 private:
  Platform& platform_;
};

std::string_view EndReason(GameEnd end) {
  switch (end) {
    case GameEnd::kTime:
      return "time";
    case GameEnd::kEscape:
      return "escape";
    case GameEnd::kClose:
      return "close";
    case GameEnd::kNone:
      break;
  }
  return "none";
}

void PlaceStartingGulls(GameState& game) {
  // The staggered distances spread the first arrivals: the first twelve
  // gulls start behind the viewer and are replaced in the first play.
  for (std::size_t i = 1; i < game.gulls.size(); ++i) {
    Gull& g = game.gulls[i];
    g.frame = 1;
    g.distance = ToInt16(2 * static_cast<std::int64_t>(i) - 25);
    g.x = ToInt16(static_cast<std::int64_t>(Floor(game.random.Next() * 1920.0)) - 960);
    g.y = ToInt16(static_cast<std::int64_t>(Floor(game.random.Next() * 240.0)) - 240);
    g.drift_x = ToInt16(static_cast<std::int64_t>(Floor(game.random.Next() * 20.0)) - 10);
    g.drift_y = RoundToInt16(-(g.y + 240 + 50) / 4.5);
  }
}

// Waits while the display is lost (presses made meanwhile must not fire a
// shot), then brings the surfaces and images back. False when the window was
// closed meanwhile.
bool RecoverLostDisplay(GameContext& ctx, InputFrame& input) {
  Platform& platform = ctx.platform;
  if (!WaitOutLostDisplay(platform, input)) return true;
  if (input.close_requested) return false;
  platform.RestoreSurfaces();
  LoadGameImages(platform, ctx.game);
  return true;
}

void DecideStep(GameContext& ctx, std::int64_t now) {
  PlayState& play = ctx.play;
  play.step_due = now > play.last_step_tick + ctx.game.step_interval.Value();
  if (play.step_due) play.last_step_tick = now;
}

void Scroll(GameContext& ctx, const InputFrame& input) {
  GameState& game = ctx.game;
  game.cursor_pos = input.mouse;
  // Each test sees what the one before left, so mouse and arrow key can add
  // up to 20 columns or cancel each other.
  auto move = [&](std::int32_t by) { game.view_x.SetValue(game.view_x.Value() + by); };
  if (game.view_x.Value() <= 1270 && game.cursor_pos.x > 630) move(kScrollStep);
  if (game.view_x.Value() >= 10 && game.cursor_pos.x < 10) move(-kScrollStep);
  if (input.Down(vk::kRight) && game.view_x.Value() <= 1270) move(kScrollStep);
  if (input.Down(vk::kLeft) && game.view_x.Value() >= 10) move(-kScrollStep);
}

void DrawPanorama(GameContext& ctx) {
  ctx.game.back_buffer.BlitImage(kGameScreenOrigin.x, kGameScreenOrigin.y, ctx.game.panorama_image,
                                 PanoramaInView(ctx.game), false);
}

}  // namespace

bool PointInRect(const Rect& r, std::int32_t x, std::int32_t y) {
  return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom;
}

void PrepareGame(Session& session, GameState& game) {
  game.time_left.SetValue(SettingValue(session, kGameTime));
  game.step_interval.SetValue(SettingValue(session, kGameSpeed));
  game.mg_steps_per_shot.SetValue(SettingValue(session, kMachineGunSpeed));
  game.splat_count = 0;
  game.splat_one_in.SetValue(5);
  game.score.SetValue(0);
  for (MessageSlot& slot : game.messages) slot.life = 0;
  const std::int32_t gull_count = SettingValue(session, kGullCount);
  if (gull_count < 0) throw IndexOutOfRange();
  game.gulls.assign(static_cast<std::size_t>(gull_count) + 1, Gull{});
}

void SetUpGame(GameContext& ctx, std::int64_t now) {
  GameState& game = ctx.game;
  PlayState& play = ctx.play;
  game.game_font.name = "Times New Roman";
  game.game_font.size = 20;
  MakeGameBackBuffer(ctx.platform, game);
  if (!OpenSounds(ctx.platform, game)) throw RuntimeError("Audiohardware nicht gefunden !");
  PlaceStartingGulls(game);
  game.ship_x = -200;
  game.ship_distance = ToInt16(static_cast<std::int64_t>(Floor(game.random.Next() * 3.0)) + 1);
  game.view_x.SetValue(kViewXStart);
  game.cartridges.SetValue(8);
  game.weapon = 1;
  play.start_tick = now;
}

void TearDownGame(GameContext& ctx) {
  GameState& game = ctx.game;
  game.panorama_image = Surface();
  game.cartridge_image = Surface();
  game.splat_image = Surface();
  game.ship_image = Surface();
  for (Surface& gull : game.gull_pictures) gull = Surface();
  game.crosshair = Surface();
  game.back_buffer = Surface();
  game.splat_cache = SplatLayer{};
}

GameEnd StartGame(Platform& platform, Session& session, GameState& game) {
  PrepareGame(session, game);
  PlayState play;
  GameContext ctx{platform, session, game, play};
  RunGame(ctx);
  return play.end;
}

void RunGame(GameContext& ctx) {
  GameModeScope game_mode(ctx.platform);
  // The set-up takes the clock from an input frame of its own.
  SetUpGame(ctx, ctx.platform.ReadInput().clock);
  ctx.platform.Events().Screen("game");
  while (RunFrame(ctx, ctx.platform.ReadInput())) {
  }
  ctx.platform.Events().GameEnd(EndReason(ctx.play.end), ctx.game.score.Value());
  TearDownGame(ctx);
}

bool RunFrame(GameContext& ctx, InputFrame input) {
  GameState& game = ctx.game;
  PlayState& play = ctx.play;

  if (!RecoverLostDisplay(ctx, input)) {
    play.end = GameEnd::kClose;
    return false;
  }
  DecideStep(ctx, input.clock);
  if (play.step_due) Scroll(ctx, input);
  DrawPanorama(ctx);
  WeaponPhase(ctx, input);
  GullPhase(ctx);
  ShipPhase(ctx);
  DrawSplats(ctx);
  MessagePass(ctx);
  // Running out of time ends the frame here: the screen keeps the last one.
  if (ClockStep(ctx, input.clock)) {
    play.end = GameEnd::kTime;
    return false;
  }
  ScoreFloor(ctx);
  AdjustPace(ctx, game.score.Value(), play.score_at_last_second);
  DrawHud(ctx);
  DrawCrosshairAndFlip(ctx, input.mouse);
  ++play.frame_count;

  if (input.close_requested) {
    play.end = GameEnd::kClose;
  } else if (input.Down(vk::kEscape)) {
    play.end = GameEnd::kEscape;
  }
  return play.end == GameEnd::kNone;
}

}  // namespace mw
