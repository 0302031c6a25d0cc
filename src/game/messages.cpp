#include <cstdint>
#include <string_view>

#include "game/phases.h"

namespace mw {

void ShowMessage(GameContext& ctx, std::int32_t x, std::int32_t y, std::string_view text) {
  GameState& game = ctx.game;
  // Slots 0..9 form the ring; slot 10 is never filled.
  game.MessageIndex = (game.MessageIndex + 1) % 10;
  MessageSlot& slot = game.Messages[static_cast<std::size_t>(game.MessageIndex)];
  slot.X = ToInt16(x);
  slot.Y = ToInt16(y);
  slot.Life = 50;
  slot.Text.assign(text);
  ctx.platform.Events().Message(text, x, y);
}

void MessagePass(GameContext& ctx) {
  GameState& game = ctx.game;
  Surface& back = ctx.game.BackBuffer;
  game.GameFont.size = 20;
  game.GameFont.bold = true;
  back.SetTextFont(game.GameFont);
  const std::int32_t view_x = game.ViewX.Value();
  for (MessageSlot& slot : game.Messages) {
    if (slot.Life == 0) continue;
    const bool loss = !slot.Text.empty() && slot.Text.front() == '-';
    back.SetTextColor(loss ? Rgb(255, 0, 0) : Rgb(0, 102, 0));
    // A positive X is a panorama column and scrolls with the view.
    const std::int32_t screen_x = slot.X > 0 ? slot.X - view_x : -slot.X;
    back.DrawTextAt(screen_x + 100, slot.Y + 50, slot.Text);
    slot.Y = ToInt16(slot.Y - 2);
    slot.Life = ToInt16(slot.Life - 1);
  }
}

}  // namespace mw
