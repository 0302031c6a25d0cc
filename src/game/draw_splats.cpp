#include <algorithm>
#include <cstdint>
#include <span>

#include "game/draw_game.h"
#include "game/screen_geometry.h"

namespace mw {
namespace {

constexpr std::int64_t kStripWidth = SplatLayer::kStripWidth;
constexpr std::int64_t kLayerLeft = SplatLayer::kFirstColumn;  // the layer's column 0

void ClearStrips(SplatLayer& layer) {
  for (std::size_t k = 0; k < layer.strips.size(); ++k) {
    const SplatLayer::Rows rows = layer.painted[k];
    if (rows.top < rows.bottom) {
      layer.strips[k].FillRect(Rect{0, rows.top, kStripWidth, rows.bottom}, layer.key);
    }
  }
  layer.painted = {};
  layer.drawn.clear();
}

void AddRows(SplatLayer::Rows& rows, std::int32_t top, std::int32_t bottom) {
  if (top >= bottom) return;
  rows = rows.top < rows.bottom
             ? SplatLayer::Rows{std::min(rows.top, top), std::max(rows.bottom, bottom)}
             : SplatLayer::Rows{top, bottom};
}

// Draws one splat into the strips it touches; columns outside the layer can
// never be on screen.
void AddToLayer(SplatLayer& layer, const Surface& image, const SplatPos& splat) {
  const auto height = static_cast<std::int64_t>(kPictureHeight);
  const auto top = static_cast<std::int32_t>(std::clamp<std::int64_t>(splat.y, 0, height));
  const auto bottom = static_cast<std::int32_t>(
      std::clamp<std::int64_t>(std::int64_t{splat.y} + image.Height(), 0, height));
  const auto strip_count = static_cast<std::int64_t>(layer.strips.size());
  const std::int64_t left = std::int64_t{splat.x} - kLayerLeft;
  const std::int64_t first = std::max<std::int64_t>(0, left / kStripWidth - 1);
  const std::int64_t last =
      std::min<std::int64_t>(strip_count - 1, (left + image.Width()) / kStripWidth);
  for (std::int64_t k = first; k <= last; ++k) {
    layer.strips[static_cast<std::size_t>(k)].BlitImage(
        static_cast<std::int32_t>(left - k * kStripWidth), splat.y, image, Rect{}, true);
    AddRows(layer.painted[static_cast<std::size_t>(k)], top, bottom);
  }
  layer.drawn.push_back(splat);
}

// Brings the layer up to the splats in use: new ones are drawn on top, any
// other change (a wipe) draws the layer anew.
void UpdateLayer(SplatLayer& layer, const Surface& image, std::span<const SplatPos> splats) {
  const bool grown = layer.drawn.size() <= splats.size() &&
                     std::equal(layer.drawn.begin(), layer.drawn.end(), splats.begin());
  if (!grown) ClearStrips(layer);
  for (std::size_t i = layer.drawn.size(); i < splats.size(); ++i) {
    AddToLayer(layer, image, splats[i]);
  }
}

}  // namespace

void DrawSplats(const RunGameState& game, GamePictures& pictures) {
  SplatLayer& layer = pictures.splat_layer;
  // The table holds 500 splats; a count beyond it must not read past the end.
  const auto count = static_cast<std::size_t>(std::clamp(game.splat_count, 0, kMaxSplats));
  if (count == 0 && layer.drawn.empty()) return;
  UpdateLayer(layer, pictures.splat, std::span<const SplatPos>(game.splats).subspan(1, count));
  if (count == 0) return;

  // Splat i stands at screen (X - ViewX, Y), as if drawn one by one.
  Surface& back = pictures.back_buffer;
  const std::int64_t origin = kLayerLeft - game.view_x.Value() + kGameScreenOrigin.x;
  for (std::size_t k = 0; k < layer.strips.size(); ++k) {
    const std::int64_t x = origin + static_cast<std::int64_t>(k) * kStripWidth;
    const SplatLayer::Rows rows = layer.painted[k];
    if (rows.top >= rows.bottom || x + kStripWidth <= 0 || x >= back.Width()) continue;
    back.BlitImage(static_cast<std::int32_t>(x), kGameScreenOrigin.y + rows.top, layer.strips[k],
                   Rect{0, rows.top, kStripWidth, rows.bottom}, true);
  }
}

}  // namespace mw
