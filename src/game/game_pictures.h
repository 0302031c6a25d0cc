#pragma once
// What the play screen is drawn with: its own 840x580 BackBuffer (so the
// screens around it keep theirs), the game's pictures in the display's
// layout, and the splats drawn once into a layer. They live from the game's
// set-up to its end.

#include <array>
#include <map>
#include <tuple>
#include <vector>

#include "game/game_state.h"
#include "platform/platform.h"
#include "platform/surface.h"

namespace mw {

// The splats on the windscreen drawn once into a panorama-wide layer, cut into
// narrow strips, so a frame copies what they cover instead of every splat, and
// a new splat redraws one or two strips only (draw_splats.cpp).
struct SplatLayer {
  // Strips of 64 columns, 32 of them: the 2048 columns from -64, every
  // panorama column the view can show with a strip to spare on each side, and
  // every row of the screen.
  static constexpr int kStripWidth = 64;
  static constexpr int kStripCount = 32;
  static constexpr int kFirstColumn = -kStripWidth;

  std::vector<Surface> strips;
  // The rows of each strip splats were drawn into since the last clearing;
  // only these are copied to the screen or cleared again (empty: none).
  struct Rows {
    std::int32_t top = 0;
    std::int32_t bottom = 0;
  };
  std::array<Rows, kStripCount> painted{};
  std::uint32_t key = 0;        // the strips' transparent colour
  std::vector<SplatPos> drawn;  // the splats the strips show, in drawing order
};

// Pictures stretched once to each size a frame draws them at (a gull at each
// distance, the ship in each lane and stage of sinking): a frame then copies
// them, which costs a fraction of stretching each one anew.
struct ScaledPictures {
  struct Key {
    const Surface* source;
    Rect part;
    int width;
    int height;
    bool operator<(const Key& other) const {
      return std::tie(source, part.left, part.top, part.right, part.bottom, width, height) <
             std::tie(other.source, other.part.left, other.part.top, other.part.right,
                      other.part.bottom, other.width, other.height);
    }
  };
  std::map<Key, Surface> copies;
};

struct GamePictures {
  Surface back_buffer;
  Surface crosshair;
  Surface panorama;
  Surface cartridge;
  Surface splat;
  Surface ship;
  // The six gull pictures; GullImage(frame) maps the nine frames onto them.
  std::array<Surface, 6> gull_pictures;
  SplatLayer splat_layer;
  ScaledPictures scaled;
};

// The BackBuffer, the pictures and the empty splat layer.
void LoadGamePictures(Platform& platform, GamePictures& pictures);
// The pictures again, after the display was lost.
void ReloadGameImages(Platform& platform, GamePictures& pictures);

// The picture of a gull frame 0..8: 0 falling, 1..8 the wing beat over the
// pictures 7 8 9 8 7 10 11 10.
const Surface& GullImage(const GamePictures& pictures, int frame);

}  // namespace mw
