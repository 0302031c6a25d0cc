#include <cstdint>
#include <string_view>

#include "game/phases.h"
#include "game/screen_geometry.h"

namespace mw {

void ShowMessage(GameContext& ctx, std::int32_t x, std::int32_t y, std::string_view text) {
  GameState& game = ctx.game;
  // Slots 0..9 form the ring; slot 10 is never filled.
  game.message_index = (game.message_index + 1) % 10;
  MessageSlot& slot = game.messages[static_cast<std::size_t>(game.message_index)];
  slot.x = ToInt16(x);
  slot.y = ToInt16(y);
  slot.life = 50;
  slot.text.assign(text);
  ctx.platform.Events().Message(text, x, y);
}

void MessagePass(GameContext& ctx) {
  GameState& game = ctx.game;
  Surface& back = ctx.game.back_buffer;
  game.game_font.size = 20;
  game.game_font.bold = true;
  back.SetTextFont(game.game_font);
  const std::int32_t view_x = game.view_x.Value();
  for (MessageSlot& slot : game.messages) {
    if (slot.life == 0) continue;
    const bool loss = !slot.text.empty() && slot.text.front() == '-';
    back.SetTextColor(loss ? Rgb(255, 0, 0) : Rgb(0, 102, 0));
    // A positive X is a panorama column and scrolls with the view.
    const std::int32_t screen_x = slot.x > 0 ? slot.x - view_x : -slot.x;
    const Point at = GameScreenToBackBuffer({screen_x, slot.y});
    back.DrawTextAt(at.x, at.y, slot.text);
    slot.y = ToInt16(slot.y - 2);
    slot.life = ToInt16(slot.life - 1);
  }
}

}  // namespace mw
