#include <algorithm>
#include <cstdint>
#include <span>

#include "game/phases.h"
#include "game/screen_geometry.h"

namespace mw {
namespace {

// The layer spans every panorama column the view can show, with a strip to
// spare on each side, and every row of the screen.
constexpr std::int64_t kStripWidth = 64;
constexpr std::int64_t kLayerLeft = -kStripWidth;  // panorama column of the layer's column 0
constexpr std::int64_t kStripCount = 32;           // 2048 columns
constexpr int kLayerHeight = 480;

std::uint32_t LayerKey(const Platform& platform) {
  return platform.DisplayFormat().blue_mask;
}

void MakeStrips(GameContext& ctx) {
  SplatLayer& layer = ctx.game.splat_cache;
  const std::uint32_t key = LayerKey(ctx.platform);
  layer.strips.clear();
  for (std::int64_t k = 0; k < kStripCount; ++k) {
    Surface strip = ctx.platform.MakeSurface(static_cast<int>(kStripWidth), kLayerHeight);
    strip.FillRect(Rect{}, key);
    strip.SetTransparentColor(key);
    layer.strips.push_back(std::move(strip));
  }
  layer.drawn.clear();
}

void ClearStrips(GameContext& ctx) {
  const std::uint32_t key = LayerKey(ctx.platform);
  for (Surface& strip : ctx.game.splat_cache.strips) strip.FillRect(Rect{}, key);
  ctx.game.splat_cache.drawn.clear();
}

// Draws one splat into the strips it touches; columns outside the layer can
// never be on screen.
void AddToLayer(GameContext& ctx, const SplatPos& splat) {
  const Surface& image = ctx.game.splat_image;
  SplatLayer& layer = ctx.game.splat_cache;
  const std::int64_t left = std::int64_t{splat.x} - kLayerLeft;
  const std::int64_t first = std::max<std::int64_t>(0, left / kStripWidth - 1);
  const std::int64_t last =
      std::min<std::int64_t>(kStripCount - 1, (left + image.Width()) / kStripWidth);
  for (std::int64_t k = first; k <= last; ++k) {
    layer.strips[static_cast<std::size_t>(k)].BlitImage(
        static_cast<std::int32_t>(left - k * kStripWidth), splat.y, image, Rect{}, true);
  }
  layer.drawn.push_back(splat);
}

// Brings the layer up to the splats in use: new ones are drawn on top, any
// other change (a wipe) draws the layer anew.
void UpdateLayer(GameContext& ctx, std::span<const SplatPos> splats) {
  SplatLayer& layer = ctx.game.splat_cache;
  if (layer.strips.empty()) MakeStrips(ctx);
  const bool grown = layer.drawn.size() <= splats.size() &&
                     std::equal(layer.drawn.begin(), layer.drawn.end(), splats.begin());
  if (!grown) ClearStrips(ctx);
  for (std::size_t i = layer.drawn.size(); i < splats.size(); ++i) AddToLayer(ctx, splats[i]);
}

}  // namespace

void DrawSplats(GameContext& ctx) {
  GameState& game = ctx.game;
  // The table holds 500 splats; a count beyond it must not read past the end.
  const auto count = static_cast<std::size_t>(std::clamp(game.splat_count, 0, kMaxSplats));
  if (count == 0 && game.splat_cache.drawn.empty()) return;
  UpdateLayer(ctx, std::span<const SplatPos>(game.splats).subspan(1, count));
  if (count == 0) return;

  // Splat i stands at screen (X - ViewX, Y), as if drawn one by one.
  Surface& back = ctx.game.back_buffer;
  const std::int64_t origin = kLayerLeft - game.view_x.Value() + kGameScreenOrigin.x;
  for (std::int64_t k = 0; k < kStripCount; ++k) {
    const std::int64_t x = origin + k * kStripWidth;
    if (x + kStripWidth <= 0 || x >= back.Width()) continue;
    back.BlitImage(static_cast<std::int32_t>(x), kGameScreenOrigin.y,
                   game.splat_cache.strips[static_cast<std::size_t>(k)], Rect{}, true);
  }
}

}  // namespace mw
