// What Undo goes back to: the map as it was at the last press, kept as the tiles changed since.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "gdi/bitmap.h"

namespace zk {

// The record watches the map (gdi::BitmapWatcher): the first change to a tile after the record
// opens copies that tile's old pixels, so a stroke costs what it changes. Swapping exchanges the
// kept tiles with the map's; the record then holds what the swap took away, and a second swap
// brings it back. A whole-map change (a resize) keeps the whole old picture instead. One record
// is one step of the undo history (undo_history.h); only the newest one watches the map.
class UndoRecord final : public gdi::BitmapWatcher {
  public:
    static constexpr int kTileSide = 64;

    UndoRecord() = default;
    UndoRecord(const UndoRecord&) = delete;
    UndoRecord& operator=(const UndoRecord&) = delete;

    // An empty record: the state to go back to is `map` as it is now. Costs the tiles the last
    // record held (to let them go) and one slot per tile of the map.
    void Open(const gdi::Bitmap& map);
    // The record stops watching and lets its table of slots go: a finished step keeps only its
    // tiles.
    void Close();
    // Whether the record keeps anything to swap.
    bool Changed() const { return m_isWhole || !m_tiles.empty(); }
    // The state to go back to is `old`, a whole picture of any size; changes to the map are not
    // recorded while it is kept.
    void KeepWhole(gdi::Bitmap old);
    // Exchanges the map with the state kept: afterwards the record keeps what the map was.
    void SwapWith(gdi::Bitmap& map);

    // The state kept, as a whole picture beside `map` (a copy of the map's size: for checks).
    gdi::Bitmap Picture(const gdi::Bitmap& map) const;
    bool IsWhole() const { return m_isWhole; }
    std::size_t TileCount() const { return m_tiles.size(); }
    // The map areas a swap exchanges (none for a whole picture): what Undo and Redo change
    // without the drawing layer announcing it.
    std::vector<gdi::Rect> TileRects() const;
    // Pixel bytes held: the kept tiles, or the whole picture.
    std::size_t Bytes() const;

    void BeforeChange(const gdi::Bitmap& map, const gdi::Rect& area) override;

  private:
    struct Tile {
        std::uint32_t index = 0;               // row-major among the map's tiles
        std::unique_ptr<gdi::Color[]> pixels;  // the tile's rows, clipped to the map, no padding
    };
    gdi::Rect TileRect(std::uint32_t index) const;
    void Keep(const gdi::Bitmap& map, std::uint32_t index);

    int m_width = 0, m_height = 0;  // the map's size when the record opened
    int m_cols = 0, m_rows = 0;     // tiles across and down
    // Per tile: 1 + its place in m_tiles, or 0 when it is not kept.
    std::vector<std::uint32_t> m_slot;
    std::vector<Tile> m_tiles;
    bool m_isWhole = false;
    gdi::Bitmap m_whole;
};

}  // namespace zk
