#include <cstdint>
#include <string_view>

#include "game/phases.h"
#include "game/screen_geometry.h"
#include "platform/runtime_error.h"
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
  for (std::size_t i = 1; i < game.Gulls.size(); ++i) {
    Gull& g = game.Gulls[i];
    g.Frame = 1;
    g.Distance = ToInt16(2 * static_cast<std::int64_t>(i) - 25);
    g.X = ToInt16(static_cast<std::int64_t>(Floor(game.Random.Next() * 1920.0)) - 960);
    g.Y = ToInt16(static_cast<std::int64_t>(Floor(game.Random.Next() * 240.0)) - 240);
    g.DriftX = ToInt16(static_cast<std::int64_t>(Floor(game.Random.Next() * 20.0)) - 10);
    g.DriftY = RoundToInt16(-(g.Y + 240 + 50) / 4.5);
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
  play.StepDue = now > play.LastStepTick + ctx.game.StepInterval.Value();
  if (play.StepDue) play.LastStepTick = now;
}

void Scroll(GameContext& ctx, const InputFrame& input) {
  GameState& game = ctx.game;
  game.CursorPos = input.mouse;
  // Each test sees what the one before left, so mouse and arrow key can add
  // up to 20 columns or cancel each other.
  auto move = [&](std::int32_t by) { game.ViewX.SetValue(game.ViewX.Value() + by); };
  if (game.ViewX.Value() <= 1270 && game.CursorPos.x > 630) move(kScrollStep);
  if (game.ViewX.Value() >= 10 && game.CursorPos.x < 10) move(-kScrollStep);
  if (input.Down(vk::kRight) && game.ViewX.Value() <= 1270) move(kScrollStep);
  if (input.Down(vk::kLeft) && game.ViewX.Value() >= 10) move(-kScrollStep);
}

void DrawPanorama(GameContext& ctx) {
  ctx.game.BackBuffer.BlitImage(kGameScreenOrigin.x, kGameScreenOrigin.y, ctx.game.PanoramaImage,
                                PanoramaInView(ctx.game), false);
}

}  // namespace

bool PointInRect(const Rect& r, std::int32_t x, std::int32_t y) {
  return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom;
}

void PrepareGame(Session& session, GameState& game) {
  game.TimeLeft.SetValue(SettingValue(session, kGameTime));
  game.StepInterval.SetValue(SettingValue(session, kGameSpeed));
  game.MgStepsPerShot.SetValue(SettingValue(session, kMpSpeed));
  game.SplatCount = 0;
  game.SplatOneIn.SetValue(5);
  game.Score.SetValue(0);
  for (MessageSlot& slot : game.Messages) slot.Life = 0;
  const std::int32_t gull_count = SettingValue(session, kGullCount);
  if (gull_count < 0) throw IndexOutOfRange();
  game.Gulls.assign(static_cast<std::size_t>(gull_count) + 1, Gull{});
}

void SetUpGame(GameContext& ctx, std::int64_t now) {
  GameState& game = ctx.game;
  PlayState& play = ctx.play;
  game.GameFont.name = "Times New Roman";
  game.GameFont.size = 20;
  MakeGameBackBuffer(ctx.platform, game);
  if (!OpenSounds(ctx.platform, game)) throw RuntimeError("Audiohardware nicht gefunden !");
  PlaceStartingGulls(game);
  game.ShipX = -200;
  game.ShipDistance = ToInt16(static_cast<std::int64_t>(Floor(game.Random.Next() * 3.0)) + 1);
  game.ViewX.SetValue(kViewXStart);
  game.Cartridges.SetValue(8);
  game.Weapon = 1;
  play.StartTick = now;
}

void TearDownGame(GameContext& ctx) {
  GameState& game = ctx.game;
  game.PanoramaImage = Surface();
  game.CartridgeImage = Surface();
  game.SplatImage = Surface();
  game.ShipImage = Surface();
  for (Surface& gull : game.GullPictures) gull = Surface();
  game.Crosshair = Surface();
  game.BackBuffer = Surface();
  game.SplatCache = SplatLayer{};
}

GameEnd StartGame(Platform& platform, Session& session, GameState& game) {
  PrepareGame(session, game);
  PlayState play;
  GameContext ctx{platform, session, game, play};
  RunGame(ctx);
  return play.End;
}

void RunGame(GameContext& ctx) {
  GameModeScope game_mode(ctx.platform);
  // The set-up takes the clock from an input frame of its own.
  SetUpGame(ctx, ctx.platform.ReadInput().clock);
  ctx.platform.Events().Screen("game");
  while (RunFrame(ctx, ctx.platform.ReadInput())) {
  }
  ctx.platform.Events().GameEnd(EndReason(ctx.play.End), ctx.game.Score.Value());
  TearDownGame(ctx);
}

bool RunFrame(GameContext& ctx, InputFrame input) {
  GameState& game = ctx.game;
  PlayState& play = ctx.play;

  if (!RecoverLostDisplay(ctx, input)) {
    play.End = GameEnd::kClose;
    return false;
  }
  DecideStep(ctx, input.clock);
  if (play.StepDue) Scroll(ctx, input);
  DrawPanorama(ctx);
  WeaponPhase(ctx, input);
  GullPhase(ctx);
  ShipPhase(ctx);
  DrawSplats(ctx);
  MessagePass(ctx);
  // Running out of time ends the frame here: the screen keeps the last one.
  if (ClockStep(ctx, input.clock)) {
    play.End = GameEnd::kTime;
    return false;
  }
  ScoreFloor(ctx);
  AdjustPace(ctx, game.Score.Value(), play.ScoreAtLastSecond);
  DrawHud(ctx);
  DrawCrosshairAndFlip(ctx, input.mouse);
  ++play.FrameCount;

  if (input.close_requested) {
    play.End = GameEnd::kClose;
  } else if (input.Down(vk::kEscape)) {
    play.End = GameEnd::kEscape;
  }
  return play.End == GameEnd::kNone;
}

}  // namespace mw
