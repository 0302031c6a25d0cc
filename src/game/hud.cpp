#include "game/hud.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "game/draw_game.h"
#include "game/screen_geometry.h"

namespace mw {
namespace {

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kBlack = Rgb(0, 0, 0);
constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kWiperGreen = Rgb(0, 85, 0);

const Font kHudFont{"Times New Roman", 20, false};
const Font kHudBoldFont{"Times New Roman", 20, true};
const TextStyle kFpsStyle{kHudFont, kWhite};
const TextStyle kScoreStyle{kHudBoldFont, kBlack};
// The wiper button's label: white on green, on a box as wide as the text.
const TextStyle kWiperLabelStyle{kHudBoldFont, kWhite, true, kWiperGreen};

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

void DrawHud(const RunGameState& game, const OneGameState& play, GamePictures& pictures) {
  Surface& back = pictures.back_buffer;
  back.DrawText(110, 500, std::to_string(play.fps) + "fps", kFpsStyle);

  const std::string score = std::to_string(game.score.Value());
  back.DrawText(ScoreTextX(score), 50, score, kScoreStyle);

  const std::int32_t time_left = game.time_left.Value();
  back.DrawText(100, 50, ClockText(time_left), TextStyle{kHudBoldFont, ClockColour(time_left)});

  // More icons than a full magazine would not fit the corner.
  const std::int32_t cartridges = std::min(game.cartridges.Value(), kRifleMagazine);
  for (std::int32_t i = 1; i <= cartridges; ++i) {
    back.BlitImage(720 - 20 * i, 470, pictures.cartridge, Rect{}, true);
  }

  const Point label = GameScreenToBackBuffer({kWiperButton.left, kWiperButton.top});
  back.DrawText(label.x, label.y, "Scheibenwischer", kWiperLabelStyle);
}

}  // namespace mw
