// Scrolling: on game steps the view moves over the panorama by 10 columns
// when the mouse is at the screen's left or right edge, and by 10 more for an
// arrow key, within columns 0 to 1280.

#include "game/frame_rules.h"
#include "game/screen_geometry.h"

namespace mw {
namespace {

constexpr std::int32_t kScrollStep = 10;

}  // namespace

void Scroll(GameContext& ctx, const InputFrame& input) {
  RunGameState& game = ctx.game;
  game.cursor_pos = input.mouse;
  // Each test sees what the one before left, so mouse and arrow key can add
  // up to 20 columns or cancel each other.
  auto move = [&](std::int32_t by) { game.view_x.SetValue(game.view_x.Value() + by); };
  if (game.view_x.Value() <= 1270 && game.cursor_pos.x > kScrollRightAbove) move(kScrollStep);
  if (game.view_x.Value() >= 10 && game.cursor_pos.x < kScrollLeftBelow) move(-kScrollStep);
  if (input.Down(vk::kRight) && game.view_x.Value() <= 1270) move(kScrollStep);
  if (input.Down(vk::kLeft) && game.view_x.Value() >= 10) move(-kScrollStep);
}

}  // namespace mw
