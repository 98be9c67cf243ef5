#include "doc/reduced_copies.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace zk {

int ReducedCopies::LevelFor(float zoom) {
    if (!(zoom > 0.0f))
        return 0;
    // zoom = 2^-k; a zoom between two steps reads the level of the step above it, and the view
    // shrinks the rest of the way.
    int k = -std::ilogb(zoom);
    if (std::ldexp(1.0f, -k) < zoom)
        --k;
    return k < kFirstLevel ? 0 : std::min(k, kLastLevel);
}

void ReducedCopies::Reset(const gdi::Bitmap& map) {
    m_width = map.Width();
    m_height = map.Height();
    m_cols = (m_width + kTileSide - 1) >> kTileShift;
    m_rows = (m_height + kTileSide - 1) >> kTileShift;
    m_stale.assign(static_cast<std::size_t>(m_cols) * static_cast<std::size_t>(m_rows), 0);
    m_kept = 0;
    for (gdi::Bitmap& level : m_levels)
        level.Reset();
}

void ReducedCopies::MapReplaced(const gdi::Bitmap& map) {
    if (map.Width() != m_width || map.Height() != m_height) {
        Reset(map);
        return;
    }
    std::fill(m_stale.begin(), m_stale.end(), m_kept);
}

void ReducedCopies::Keep(int level) {
    m_levels[static_cast<std::size_t>(level)] =
        gdi::Bitmap(m_width >> level, m_height >> level, 32, gdi::kWhite);
    const auto bit = static_cast<std::uint8_t>(1u << level);
    m_kept |= bit;
    for (std::uint8_t& s : m_stale)
        s |= bit;
}

bool ReducedCopies::TilesOf(int level, const gdi::Rect& area, int& c0, int& r0, int& c1,
                            int& r1) const {
    const gdi::Rect r = area.Intersect({0, 0, m_width >> level, m_height >> level});
    if (r.IsEmpty())
        return false;
    const int shift = kTileShift - level;  // a tile is 2^shift pixels of the level a side
    c0 = r.left >> shift;
    r0 = r.top >> shift;
    c1 = (r.right - 1) >> shift;
    r1 = (r.bottom - 1) >> shift;
    return true;
}

gdi::Bitmap* ReducedCopies::Level(const gdi::Bitmap& map, int level, const gdi::Rect& area) {
    if (level < kFirstLevel || level > kLastLevel)
        return nullptr;
    // The map changes size only with a whole-map operation, which resets the copies; a size
    // that is not the one they were made for must not be read with their layout.
    if (map.Width() != m_width || map.Height() != m_height)
        Reset(map);
    if (!IsKept(level)) {
        try {
            Keep(level);
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
    }
    int c0, r0, c1, r1;
    if (TilesOf(level, area, c0, r0, c1, r1)) {
        for (int row = r0; row <= r1; ++row)
            for (int col = c0; col <= c1; ++col)
                if ((Stale(col, row) >> level) & 1u)
                    Refresh(map, level, col, row);
    }
    return &m_levels[static_cast<std::size_t>(level)];
}

void ReducedCopies::Refresh(const gdi::Bitmap& map, int level, int col, int row) {
    Stale(col, row) &= static_cast<std::uint8_t>(~(1u << level));
    gdi::Bitmap& out = m_levels[static_cast<std::size_t>(level)];
    const int side = kTileSide >> level;
    const int x0 = col * side, x1 = std::min(x0 + side, out.Width());
    const int y0 = row * side, y1 = std::min(y0 + side, out.Height());
    if (x0 >= x1 || y0 >= y1)
        return;  // the tile holds only the map's last, partial blocks

    const int below = level - 1;
    if (below >= kFirstLevel && IsKept(below)) {
        // Each pixel is the AND of the 2 x 2 pixels of the level below it.
        if ((Stale(col, row) >> below) & 1u)
            Refresh(map, below, col, row);
        const gdi::Bitmap& src = m_levels[static_cast<std::size_t>(below)];
        for (int y = y0; y < y1; ++y) {
            const gdi::Color* a = src.Row(2 * y);
            const gdi::Color* b = src.Row(2 * y + 1);
            gdi::Color* d = out.Row(y);
            for (int x = x0; x < x1; ++x)
                d[x] = a[2 * x] & a[2 * x + 1] & b[2 * x] & b[2 * x + 1];
        }
        return;
    }

    // From the map: the block's rows ANDed into one, then each block's columns.
    const int n = 1 << level;
    const int mapX = x0 << level;
    const auto width = static_cast<std::size_t>(x1 - x0) << level;
    m_rowBuffer.resize(width);
    gdi::Color* acc = m_rowBuffer.data();
    for (int y = y0; y < y1; ++y) {
        const int mapY = y << level;
        std::copy_n(map.Row(mapY) + mapX, width, acc);
        for (int j = 1; j < n; ++j) {
            const gdi::Color* s = map.Row(mapY + j) + mapX;
            for (std::size_t i = 0; i < width; ++i)
                acc[i] &= s[i];
        }
        gdi::Color* d = out.Row(y);
        for (int x = x0; x < x1; ++x) {
            const gdi::Color* block = acc + (static_cast<std::size_t>(x - x0) << level);
            gdi::Color v = block[0];
            for (int i = 1; i < n; ++i)
                v &= block[i];
            d[x] = v;
        }
    }
}

std::size_t ReducedCopies::Bytes() const {
    std::size_t bytes = 0;
    for (const gdi::Bitmap& level : m_levels)
        bytes += level.PixelCount() * sizeof(gdi::Color);
    return bytes;
}

bool ReducedCopies::IsStale(int level, const gdi::Rect& area) const {
    int c0, r0, c1, r1;
    if (level < 0 || level > kLastLevel || !TilesOf(0, area, c0, r0, c1, r1))
        return false;
    for (int row = r0; row <= r1; ++row)
        for (int col = c0; col <= c1; ++col)
            if ((m_stale[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_cols) +
                         static_cast<std::size_t>(col)] >>
                 level) &
                1u)
                return true;
    return false;
}

void ReducedCopies::BeforeChange(const gdi::Bitmap& map, const gdi::Rect& area) {
    if (m_kept == 0)
        return;
    if (map.Width() != m_width || map.Height() != m_height) {
        Reset(map);
        return;
    }
    int c0, r0, c1, r1;
    if (!TilesOf(0, area, c0, r0, c1, r1))
        return;
    for (int row = r0; row <= r1; ++row)
        for (int col = c0; col <= c1; ++col)
            Stale(col, row) |= m_kept;
}

}  // namespace zk
