#include <algorithm>
#include <cstdint>
#include <span>

#include "game/phases.h"

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
  SplatLayer& layer = ctx.game.SplatCache;
  const std::uint32_t key = LayerKey(ctx.platform);
  layer.Strips.clear();
  for (std::int64_t k = 0; k < kStripCount; ++k) {
    Surface strip = ctx.platform.MakeSurface(static_cast<int>(kStripWidth), kLayerHeight);
    strip.FillRect(Rect{}, key);
    strip.SetTransparentColor(key);
    layer.Strips.push_back(std::move(strip));
  }
  layer.Drawn.clear();
}

void ClearStrips(GameContext& ctx) {
  const std::uint32_t key = LayerKey(ctx.platform);
  for (Surface& strip : ctx.game.SplatCache.Strips) strip.FillRect(Rect{}, key);
  ctx.game.SplatCache.Drawn.clear();
}

// Draws one splat into the strips it touches; columns outside the layer can
// never be on screen.
void AddToLayer(GameContext& ctx, const SplatPos& splat) {
  const Surface& image = ctx.game.SplatImage;
  SplatLayer& layer = ctx.game.SplatCache;
  const std::int64_t left = std::int64_t{splat.X} - kLayerLeft;
  const std::int64_t first = std::max<std::int64_t>(0, left / kStripWidth - 1);
  const std::int64_t last =
      std::min<std::int64_t>(kStripCount - 1, (left + image.Width()) / kStripWidth);
  for (std::int64_t k = first; k <= last; ++k) {
    layer.Strips[static_cast<std::size_t>(k)].BlitImage(
        static_cast<std::int32_t>(left - k * kStripWidth), splat.Y, image, Rect{}, true);
  }
  layer.Drawn.push_back(splat);
}

// Brings the layer up to the splats in use: new ones are drawn on top, any
// other change (a wipe) draws the layer anew.
void UpdateLayer(GameContext& ctx, std::span<const SplatPos> splats) {
  SplatLayer& layer = ctx.game.SplatCache;
  if (layer.Strips.empty()) MakeStrips(ctx);
  const bool grown = layer.Drawn.size() <= splats.size() &&
                     std::equal(layer.Drawn.begin(), layer.Drawn.end(), splats.begin());
  if (!grown) ClearStrips(ctx);
  for (std::size_t i = layer.Drawn.size(); i < splats.size(); ++i) AddToLayer(ctx, splats[i]);
}

}  // namespace

void DrawSplats(GameContext& ctx) {
  GameState& game = ctx.game;
  // The table holds 500 splats; a count beyond it must not read past the end.
  const auto count = static_cast<std::size_t>(std::clamp(game.SplatCount, 0, kMaxSplats));
  if (count == 0 && game.SplatCache.Drawn.empty()) return;
  UpdateLayer(ctx, std::span<const SplatPos>(game.Splats).subspan(1, count));
  if (count == 0) return;

  // Splat i stands at (X - ViewX + 100, Y + 50), as if drawn one by one.
  Surface& back = ctx.game.BackBuffer;
  const std::int64_t origin = kLayerLeft - game.ViewX.Value() + 100;
  for (std::int64_t k = 0; k < kStripCount; ++k) {
    const std::int64_t x = origin + k * kStripWidth;
    if (x + kStripWidth <= 0 || x >= back.Width()) continue;
    back.BlitImage(static_cast<std::int32_t>(x), 50,
                   game.SplatCache.Strips[static_cast<std::size_t>(k)], Rect{}, true);
  }
}

}  // namespace mw
