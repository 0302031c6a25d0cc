#include <cstdint>
#include <string_view>

#include "game/phases.h"
#include "platform/runtime_error.h"

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
  // gulls start behind the viewer and are replaced in the first frame.
  for (std::size_t i = 1; i < game.Gulls.size(); ++i) {
    Gull& g = game.Gulls[i];
    g.Frame = 1;
    g.Distance = ToInt16(2 * static_cast<std::int64_t>(i) - 25);
    g.X = ToInt16(static_cast<std::int64_t>(Int(game.Random.Next() * 1920.0)) - 960);
    g.Y = ToInt16(static_cast<std::int64_t>(Int(game.Random.Next() * 240.0)) - 240);
    g.DriftX = ToInt16(static_cast<std::int64_t>(Int(game.Random.Next() * 20.0)) - 10);
    g.DriftY = CInt(-(g.Y + 240 + 50) / 4.5);
  }
}

// Waits while the display is lost, then brings the surfaces and images back.
// False when the window was closed meanwhile.
bool RecoverLostDisplay(GameContext& ctx) {
  Platform& platform = ctx.platform;
  if (!WaitOutLostDisplay(platform)) return true;
  if (platform.QuitRequested()) return false;
  platform.RestoreSurfaces();
  // Presses made while the game was away must not fire a shot.
  ForgetConfirmPresses(platform);
  LoadGameImages(platform, ctx.display, ctx.game);
  return true;
}

void DecideStep(GameContext& ctx) {
  FrameState& frame = ctx.frame;
  const std::int64_t now = ctx.platform.ReadClock();
  frame.StepDue = now > frame.LastStepTick + ctx.game.StepInterval.Value();
  if (frame.StepDue) frame.LastStepTick = ctx.platform.ReadClock();
}

void Scroll(GameContext& ctx) {
  GameState& game = ctx.game;
  Platform& platform = ctx.platform;
  game.CursorPos = platform.MousePosition();
  // Each test sees what the one before left, so mouse and arrow key can add
  // up to 20 columns or cancel each other.
  auto move = [&](std::int32_t by) { game.ViewX.SetValue(game.ViewX.Value() + by); };
  if (game.ViewX.Value() <= 1270 && game.CursorPos.x > 630) move(kScrollStep);
  if (game.ViewX.Value() >= 10 && game.CursorPos.x < 10) move(-kScrollStep);
  if (platform.KeyDown(vk::kRight) && game.ViewX.Value() <= 1270) move(kScrollStep);
  if (platform.KeyDown(vk::kLeft) && game.ViewX.Value() >= 10) move(-kScrollStep);
}

void DrawPanorama(GameContext& ctx) {
  FrameState& frame = ctx.frame;
  const std::int32_t view_x = ctx.game.ViewX.Value();
  frame.PanoramaWindow.left = view_x;
  frame.PanoramaWindow.right = view_x + 640;
  ctx.display.BackBuffer.BlitImage(100, 50, ctx.game.PanoramaImage, frame.PanoramaWindow, false);
}

}  // namespace

bool PointInRect(const Rect& r, std::int32_t x, std::int32_t y) {
  return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom;
}

void PrepareGame(Modul& modul, GameState& game) {
  game.TimeLeft.SetValue(SettingValue(modul, kGameTime));
  game.StepInterval.SetValue(SettingValue(modul, kGameSpeed));
  game.MpSpeed.SetValue(SettingValue(modul, kMpSpeed));
  game.SplatCount = 0;
  game.SplatChance.SetValue(5);
  game.Score.SetValue(0);
  for (MessageSlot& slot : game.Messages) slot.Life = 0;
  const std::int32_t gull_count = SettingValue(modul, kGullCount);
  if (gull_count < 0) throw RuntimeError("Laufzeitfehler 9: Index außerhalb des gültigen Bereichs");
  game.Gulls.assign(static_cast<std::size_t>(gull_count) + 1, Gull{});
}

void SetUpGame(GameContext& ctx) {
  GameState& game = ctx.game;
  FrameState& frame = ctx.frame;
  game.GameFont.name = "Times New Roman";
  game.GameFont.size = 20;
  MakeGameBackBuffer(ctx.platform, ctx.display, game);
  if (!OpenSounds(ctx.platform, game)) throw RuntimeError("Audiohardware nicht gefunden !");
  PlaceStartingGulls(game);
  game.ShipX = -200;
  game.ShipDistance = ToInt16(static_cast<std::int64_t>(Int(game.Random.Next() * 3.0)) + 1);
  game.ViewX.SetValue(kViewXStart);
  game.Cartridges.SetValue(8);
  game.Weapon = 1;
  frame.VisibleRect = Rect{100, 50, 740, 530};
  frame.PanoramaWindow.top = 0;
  frame.PanoramaWindow.bottom = 480;
  frame.StartTick = ctx.platform.ReadClock();
}

void TearDownGame(GameContext& ctx) {
  GameState& game = ctx.game;
  game.PanoramaImage = Surface();
  game.CartridgeImage = Surface();
  game.SplatImage = Surface();
  game.ShipImage = Surface();
  for (Surface& gull : game.GullPictures) gull = Surface();
  game.SplatCache = SplatLayer{};
}

void StartGame(Platform& platform, Modul& modul, DisplayState& display, GameState& game) {
  PrepareGame(modul, game);
  FrameState frame;
  GameContext ctx{platform, modul, display, game, frame};
  RunGame(ctx);
}

void RunGame(GameContext& ctx) {
  GameModeScope game_mode(ctx.platform);
  SetUpGame(ctx);
  ctx.platform.Events().Screen("game");
  while (RunFrame(ctx)) {
  }
  ctx.platform.Events().GameEnd(EndReason(ctx.frame.End), ctx.game.Score.Value());
  TearDownGame(ctx);
}

bool RunFrame(GameContext& ctx) {
  Platform& platform = ctx.platform;
  GameState& game = ctx.game;
  FrameState& frame = ctx.frame;

  platform.Yield();
  if (!RecoverLostDisplay(ctx)) {
    frame.End = GameEnd::kClose;
    return false;
  }
  DecideStep(ctx);
  if (frame.StepDue) Scroll(ctx);
  DrawPanorama(ctx);
  WeaponPhase(ctx);
  GullPhase(ctx);
  ShipPhase(ctx);
  DrawSplats(ctx);
  MessagePass(ctx);
  // Running out of time ends the frame here: the screen keeps the last one.
  if (ClockStep(ctx)) {
    frame.End = GameEnd::kTime;
    return false;
  }
  ScoreFloor(ctx);
  AdjustPace(ctx, game.Score.Value(), frame.ScoreAtLastSecond);
  DrawHud(ctx);
  DrawCrosshairAndFlip(ctx);
  ++frame.FrameCount;

  if (platform.QuitRequested()) {
    frame.End = GameEnd::kClose;
  } else if (platform.KeyDown(vk::kEscape)) {
    frame.End = GameEnd::kEscape;
  }
  return frame.End == GameEnd::kNone;
}

}  // namespace mw
