#include "doc/undo_record.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace zk {

void UndoRecord::Open(const gdi::Bitmap& map) {
    m_isWhole = false;
    m_whole.Reset();
    const int cols = (map.Width() + kTileSide - 1) / kTileSide;
    const int rows = (map.Height() + kTileSide - 1) / kTileSide;
    const std::size_t slots = static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows);
    if (cols != m_cols || rows != m_rows || m_slot.size() != slots) {
        m_cols = cols;
        m_rows = rows;
        m_slot.assign(slots, 0);
    } else {
        for (const Tile& t : m_tiles)
            m_slot[t.index] = 0;
    }
    m_tiles.clear();
    m_width = map.Width();
    m_height = map.Height();
}

void UndoRecord::Close() {
    std::vector<std::uint32_t>().swap(m_slot);
    m_tiles.shrink_to_fit();
}

void UndoRecord::KeepWhole(gdi::Bitmap old) {
    Open(gdi::Bitmap());
    m_whole = std::move(old);
    m_isWhole = true;
}

gdi::Rect UndoRecord::TileRect(std::uint32_t index) const {
    const int col = static_cast<int>(index % static_cast<std::uint32_t>(m_cols));
    const int row = static_cast<int>(index / static_cast<std::uint32_t>(m_cols));
    const int x = col * kTileSide, y = row * kTileSide;
    return {x, y, std::min(x + kTileSide, m_width), std::min(y + kTileSide, m_height)};
}

void UndoRecord::Keep(const gdi::Bitmap& map, std::uint32_t index) {
    const gdi::Rect r = TileRect(index);
    const auto w = static_cast<std::size_t>(r.Width());
    Tile tile;
    tile.index = index;
    tile.pixels =
        std::make_unique_for_overwrite<gdi::Color[]>(w * static_cast<std::size_t>(r.Height()));
    gdi::Color* out = tile.pixels.get();
    for (int y = r.top; y < r.bottom; ++y, out += w)
        std::memcpy(out, map.Row(y) + r.left, w * sizeof(gdi::Color));
    m_tiles.push_back(std::move(tile));
    m_slot[index] = static_cast<std::uint32_t>(m_tiles.size());
}

void UndoRecord::BeforeChange(const gdi::Bitmap& map, const gdi::Rect& area) {
    // A whole picture is kept apart from the map: nothing the map does can change it.
    if (m_isWhole)
        return;
    // The map changes size only with a whole-map operation, which opens a new record first; a
    // closed record watches nothing.
    if (map.Width() != m_width || map.Height() != m_height || m_slot.empty())
        return;
    const gdi::Rect r = area.Intersect(map.Bounds());
    if (r.IsEmpty())
        return;
    const int c0 = r.left / kTileSide, c1 = (r.right - 1) / kTileSide;
    const int r0 = r.top / kTileSide, r1 = (r.bottom - 1) / kTileSide;
    for (int row = r0; row <= r1; ++row)
        for (int col = c0; col <= c1; ++col) {
            const auto index = static_cast<std::uint32_t>(row * m_cols + col);
            if (m_slot[index] == 0)
                Keep(map, index);
        }
}

void UndoRecord::SwapWith(gdi::Bitmap& map) {
    if (m_isWhole) {
        std::swap(map, m_whole);
        return;
    }
    if (map.Width() != m_width || map.Height() != m_height)
        return;
    for (Tile& t : m_tiles) {
        const gdi::Rect r = TileRect(t.index);
        const auto w = static_cast<std::size_t>(r.Width());
        gdi::Color* kept = t.pixels.get();
        for (int y = r.top; y < r.bottom; ++y, kept += w)
            std::swap_ranges(kept, kept + w, map.Row(y) + r.left);
    }
}

gdi::Bitmap UndoRecord::Picture(const gdi::Bitmap& map) const {
    if (m_isWhole)
        return m_whole;
    gdi::Bitmap picture = map;
    if (map.Width() != m_width || map.Height() != m_height)
        return picture;
    for (const Tile& t : m_tiles) {
        const gdi::Rect r = TileRect(t.index);
        const auto w = static_cast<std::size_t>(r.Width());
        const gdi::Color* kept = t.pixels.get();
        for (int y = r.top; y < r.bottom; ++y, kept += w)
            std::memcpy(picture.Row(y) + r.left, kept, w * sizeof(gdi::Color));
    }
    return picture;
}

std::vector<gdi::Rect> UndoRecord::TileRects() const {
    std::vector<gdi::Rect> rects;
    rects.reserve(m_tiles.size());
    for (const Tile& t : m_tiles)
        rects.push_back(TileRect(t.index));
    return rects;
}

std::size_t UndoRecord::Bytes() const {
    if (m_isWhole)
        return m_whole.PixelCount() * sizeof(gdi::Color);
    std::size_t bytes = 0;
    for (const Tile& t : m_tiles) {
        const gdi::Rect r = TileRect(t.index);
        bytes += static_cast<std::size_t>(r.Width()) * static_cast<std::size_t>(r.Height()) *
                 sizeof(gdi::Color);
    }
    return bytes;
}

}  // namespace zk
