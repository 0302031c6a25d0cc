#include <cstdint>
#include <string_view>

#include "game/frame_rules.h"

namespace mw {

void ShowMessage(GameContext& ctx, std::int32_t x, std::int32_t y, std::string_view text) {
  RunGameState& game = ctx.game;
  // Slots 0..9 form the ring; slot 10 is never filled.
  game.message_index = (game.message_index + 1) % 10;
  MessageSlot& slot = game.messages[static_cast<std::size_t>(game.message_index)];
  slot.x = ToInt16(x);
  slot.y = ToInt16(y);
  slot.life = 50;
  slot.text.assign(text);
  ctx.out.Log(MessageEvent{std::string(text), x, y});
}

void Announce(GameContext& ctx, std::string_view text) {
  ShowMessage(ctx, -110, kFixedMessageY, text);
}

void MessagePhase(GameContext& ctx) {
  RunGameState& game = ctx.game;
  OneGameState& play = ctx.play;
  const std::int32_t view_x = game.view_x.Value();
  play.shown_message_count = 0;
  for (MessageSlot& slot : game.messages) {
    if (slot.life == 0) continue;
    // A positive X is a panorama column and scrolls with the view. A message
    // started later in this frame (the pace's) shows from the next one on.
    ShownMessage& shown = play.shown_messages[play.shown_message_count++];
    shown.at = {slot.x > 0 ? slot.x - view_x : -slot.x, slot.y};
    shown.loss = !slot.text.empty() && slot.text.front() == '-';
    shown.text.assign(slot.text);
    slot.y = ToInt16(slot.y - 2);
    slot.life = ToInt16(slot.life - 1);
  }
}

}  // namespace mw
