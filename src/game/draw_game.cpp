#include "game/draw_game.h"

#include "game/screen_geometry.h"

namespace mw {
namespace {

// Raw pixel value of the one-frame flash that shows the wipe.
constexpr std::uint32_t kWipeFlash = 240;

const TextStyle kGainStyle{{"Times New Roman", 20, true}, Rgb(0, 102, 0)};
const TextStyle kLossStyle{{"Times New Roman", 20, true}, Rgb(255, 0, 0)};

// More than a game's gulls and ship can ask for; past it the copies are made
// anew, so no state can make the cache grow without end.
constexpr std::size_t kMaxScaledCopies = 4096;
// A stretched picture larger than this is drawn directly, never kept.
constexpr std::int64_t kMaxScaledPixels =
    std::int64_t{kGameBackBufferWidth} * kGameBackBufferHeight;

// Draws a keyed picture's part stretched into target, pixel for pixel as
// BlitScaled would, from a copy stretched once to the target's size.
void BlitScaledFromCopy(Surface& back, Rect target, const Surface& source, Rect part,
                        ScaledPictures& scaled) {
  const std::int64_t width = std::int64_t{target.right} - target.left;
  const std::int64_t height = std::int64_t{target.bottom} - target.top;
  if (width <= 0 || height <= 0 || width * height > kMaxScaledPixels) {
    back.BlitScaled(target, source, part);
    return;
  }
  if (scaled.copies.size() >= kMaxScaledCopies) scaled.copies.clear();
  const ScaledPictures::Key key{&source, part, static_cast<int>(width), static_cast<int>(height)};
  auto [at, fresh] = scaled.copies.try_emplace(key);
  if (fresh) at->second = source.ScaledCopy(part, key.width, key.height);
  back.BlitImage(target.left, target.top, at->second, Rect{}, true);
}

}  // namespace

void DrawSea(const RunGameState& game, const OneGameState& play, GamePictures& pictures) {
  Surface& back = pictures.back_buffer;
  back.BlitImage(kGameScreenOrigin.x, kGameScreenOrigin.y, pictures.panorama, PanoramaInView(game),
                 false);
  // The wipe flashes over this frame's sea, under gulls, ship and texts.
  if (play.wiper_flashed) back.FillRect(Rect{}, kWipeFlash);  // the whole BackBuffer
}

void DrawGulls(const RunGameState& game, GamePictures& pictures) {
  for (std::size_t i = 1; i < game.gulls.size(); ++i) {
    const Gull& g = game.gulls[i];
    if (g.distance <= 0) continue;
    BlitScaledFromCopy(pictures.back_buffer, GullRect(game, g), GullImage(pictures, g.frame),
                       Rect{}, pictures.scaled);
  }
}

void DrawShip(const RunGameState& game, const OneGameState& play, GamePictures& pictures) {
  BlitScaledFromCopy(pictures.back_buffer, ShipRect(game, play.ship_sinking_shown), pictures.ship,
                     ShipPictureRect(play.ship_sinking_shown), pictures.scaled);
}

void DrawMessages(const OneGameState& play, GamePictures& pictures) {
  for (std::size_t i = 0; i < play.shown_message_count; ++i) {
    const ShownMessage& shown = play.shown_messages[i];
    const Point at = GameScreenToBackBuffer(shown.at);
    pictures.back_buffer.DrawText(at.x, at.y, shown.text, shown.loss ? kLossStyle : kGainStyle);
  }
}

void DrawCrosshair(const RunGameState& game, GamePictures& pictures) {
  // The 32x32 crosshair is centred on the pointer.
  const Point at = GameScreenToBackBuffer(game.cursor_pos);
  pictures.back_buffer.BlitImage(at.x - 16, at.y - 16, pictures.crosshair, Rect{}, true);
}

void DrawGame(const RunGameState& game, const OneGameState& play, GamePictures& pictures) {
  DrawSea(game, play, pictures);
  DrawGulls(game, pictures);
  DrawShip(game, play, pictures);
  DrawSplats(game, pictures);
  DrawMessages(play, pictures);
  DrawHud(game, play, pictures);
  DrawCrosshair(game, pictures);
}

}  // namespace mw
