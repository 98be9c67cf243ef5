// The map shrunk by 4, 8, 16, 32 and 64 on each side, for views zoomed out that far: a repaint
// then copies as many pixels as the window has, however large the map.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gdi/bitmap.h"

namespace zk {

// Level k holds, for every whole 2^k x 2^k block of the map, the AND of its pixels: what a
// stretched copy that shrinks by AND shows of that block, so that a view at zoom 2^-k shows level
// k pixel for pixel. A map side that is no multiple of 2^k leaves its last, partial block out, as
// the stretched copy leaves it out.
//
// Levels are made lazily. One is allocated the first time it is asked for, and its pixels are
// brought up to date a tile at a time, only where they are asked for. The copies watch the map
// (gdi::BitmapWatcher): a change marks the tiles it touches stale in every level kept, at a cost
// of a few tiles, never the pixels. A stale tile is rebuilt from the level below when that one is
// kept, else from the map. Level 1 (zoom 1/2) is not kept: it alone would take a quarter of the
// map's pixels, while the five kept levels together take at most a twelfth.
class ReducedCopies final : public gdi::BitmapWatcher {
  public:
    static constexpr int kFirstLevel = 2;
    static constexpr int kLastLevel = 6;
    // Tiles of 256 x 256 map pixels: a whole number of blocks at every level.
    static constexpr int kTileShift = 8;
    static constexpr int kTileSide = 1 << kTileShift;

    ReducedCopies() = default;
    ReducedCopies(const ReducedCopies&) = delete;
    ReducedCopies& operator=(const ReducedCopies&) = delete;

    // The level a view at `zoom` reads: k for zoom 2^-k from kFirstLevel to kLastLevel (the last
    // one for anything smaller), 0 (the map itself) above.
    static int LevelFor(float zoom);

    // Forgets every level, freeing its memory, and takes `map`'s size: for a map of its own.
    void Reset(const gdi::Bitmap& map);
    // The map was changed without telling where (a whole new picture of the same size, an undo):
    // every level kept becomes stale everywhere; a map of another size resets.
    void MapReplaced(const gdi::Bitmap& map);

    // Level `level` (kFirstLevel .. kLastLevel) of `map`, up to date over `area` (in that level's
    // pixels; what lies outside the level is ignored). Empty when the map is narrower or lower
    // than one block; null when there is no memory for it (the map itself serves then). Read it
    // only: a refresh overwrites whatever else is drawn into it.
    gdi::Bitmap* Level(const gdi::Bitmap& map, int level, const gdi::Rect& area);

    // Pixel bytes the levels kept hold.
    std::size_t Bytes() const;
    bool IsKept(int level) const { return (m_kept >> level) & 1u; }
    // Whether level `level` is stale anywhere in the map rectangle `area`.
    bool IsStale(int level, const gdi::Rect& area) const;

    void BeforeChange(const gdi::Bitmap& map, const gdi::Rect& area) override;

  private:
    // The tiles [c0, c1] x [r0, r1] a rectangle of level pixels (or of map pixels, level 0)
    // touches, clipped to the map; false when it touches none.
    bool TilesOf(int level, const gdi::Rect& area, int& c0, int& r0, int& c1, int& r1) const;
    void Keep(int level);
    // Brings level `level` up to date on one tile.
    void Refresh(const gdi::Bitmap& map, int level, int col, int row);
    std::uint8_t& Stale(int col, int row) {
        return m_stale[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_cols) +
                       static_cast<std::size_t>(col)];
    }

    int m_width = 0, m_height = 0;  // the map's size
    int m_cols = 0, m_rows = 0;     // tiles across and down
    // Per tile: bit k set while level k is stale there.
    std::vector<std::uint8_t> m_stale;
    std::uint8_t m_kept = 0;  // bit k set while level k is kept
    std::array<gdi::Bitmap, kLastLevel + 1> m_levels;
    std::vector<gdi::Color> m_rowBuffer;  // one tile's row of vertically ANDed map pixels
};

}  // namespace zk
