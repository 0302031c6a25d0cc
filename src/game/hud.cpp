#include "game/hud.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "game/phases.h"
#include "game/screen_geometry.h"

namespace mw {
namespace {

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kBlack = Rgb(0, 0, 0);
constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kWiperGreen = Rgb(0, 85, 0);

void SetGameFont(GameContext& ctx, bool bold) {
  ctx.game.game_font.size = 20;
  ctx.game.game_font.bold = bold;
  ctx.game.back_buffer.SetTextFont(ctx.game.game_font);
}

}  // namespace

std::string ClockText(std::int32_t time_left) {
  const std::int32_t seconds = time_left % 60;
  std::string text = std::to_string(time_left / 60) + ":";
  if (seconds >= 0 && seconds < 10) text += '0';
  return text + std::to_string(seconds);
}

Colour ClockColour(std::int32_t time_left) {
  return time_left > 10 ? kBlack : kRed;
}

std::int32_t ScoreTextX(const std::string& score_text) {
  return 740 - 15 * static_cast<std::int32_t>(score_text.size());
}

void DrawHud(GameContext& ctx) {
  GameState& game = ctx.game;
  Surface& back = ctx.game.back_buffer;

  SetGameFont(ctx, false);
  back.SetTextColor(kWhite);
  back.DrawTextAt(110, 500, std::to_string(ctx.play.fps) + "fps");

  SetGameFont(ctx, true);
  back.SetTextColor(kBlack);
  const std::string score = std::to_string(game.score.Value());
  back.DrawTextAt(ScoreTextX(score), 50, score);

  const std::int32_t time_left = game.time_left.Value();
  SetGameFont(ctx, true);
  back.SetTextColor(ClockColour(time_left));
  back.DrawTextAt(100, 50, ClockText(time_left));

  // The rifle holds eight; more icons would not fit the corner anyway.
  const std::int32_t cartridges = std::min(game.cartridges.Value(), 8);
  for (std::int32_t i = 1; i <= cartridges; ++i) {
    back.BlitImage(720 - 20 * i, 470, game.cartridge_image, Rect{}, true);
  }

  // The label keeps the clock's font: the size is set but not passed on.
  game.game_font.size = 20;
  back.SetTextTransparency(false);
  back.SetTextBackColor(kWiperGreen);
  back.SetTextColor(kWhite);
  back.DrawTextAt(270, 500, "Scheibenwischer");
  back.SetTextTransparency(true);
}

void DrawCrosshairAndFlip(GameContext& ctx, Point mouse) {
  GameState& game = ctx.game;
  Surface& back = ctx.game.back_buffer;
  game.cursor_pos = mouse;
  // The 32x32 crosshair is centred on the pointer.
  const Point at = GameScreenToBackBuffer(mouse);
  back.BlitImage(at.x - 16, at.y - 16, ctx.game.crosshair, Rect{}, true);
  ctx.platform.Flip(back, kGameVisibleRect);
}

}  // namespace mw
