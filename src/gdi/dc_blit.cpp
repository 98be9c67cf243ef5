#include <cstring>
#include <vector>

#include "gdi/dc.h"
#include "gdi/raster.h"

namespace gdi {

namespace {

constexpr Color kAllBits = 0xFFFFFF;

// How a source pixel becomes a destination pixel when the formats differ. Pre takes a source
// pixel into the domain groups are combined in (black/white when a colour source goes onto a
// monochrome bitmap); Post takes a combined value into the destination's colours.
struct Conversion {
    bool toMono = false;    // colour source onto a monochrome destination
    bool fromMono = false;  // monochrome source onto a colour destination
    Color srcBk = kWhite;   // source pixels of this colour become white on a monochrome bitmap
    Color text = kBlack;    // black source pixels become the destination's text colour
    Color bk = kWhite;      // and white ones its background colour

    Color Pre(Color p) const {
        if (toMono)
            return p == srcBk ? kWhite : kBlack;
        return p;
    }
    Color Post(Color v) const {
        if (fromMono)
            return v == kBlack ? text : bk;
        return v;
    }
    bool IsPlain() const { return !toMono && !fromMono; }
};

Color ApplyRop(Rop rop, Color s, Color d) {
    switch (rop) {
        case Rop::SrcAnd:
            return s & d;
        case Rop::SrcPaint:
            return s | d;
        case Rop::SrcCopy:
            break;
    }
    return s;
}

// For one axis of a stretch, the source pixels [lo, hi] (relative to the source start) that
// destination pixel d shows. Enlarging picks the nearest source centre, ties to the lower index;
// shrinking gathers the source pixels s with ceil((2s+1)D / 2S) - 1 == d.
struct AxisMap {
    std::int64_t S, D;

    std::int64_t Lo(std::int64_t d) const {
        if (D >= S)
            return detail::CeilDiv((2 * d + 1) * S, 2 * D) - 1;
        return detail::FloorDiv(2 * d * S - D, 2 * D) + 1;
    }
    std::int64_t Hi(std::int64_t d) const { return D >= S ? Lo(d) : Lo(d + 1) - 1; }
};

// The destination pixels [first, last) along one axis that may be drawn: inside the canvas and
// showing source pixels that all lie inside the source bitmap.
struct AxisRange {
    int first = 0, last = 0;
};
AxisRange VisibleRange(const AxisMap& map, int dst, int boxLo, int boxHi, int src, int srcSize) {
    std::int64_t first = std::max<std::int64_t>(0, std::int64_t{boxLo} - dst);
    std::int64_t last = std::min<std::int64_t>(map.D, std::int64_t{boxHi} - dst);
    // The maps are monotone, so the pixels whose sources lie inside form one run.
    while (first < last && src + map.Lo(first) < 0)
        ++first;
    while (first < last && src + map.Hi(last - 1) >= srcSize)
        --last;
    if (first >= last)
        return {};
    return {static_cast<int>(first), static_cast<int>(last)};
}

}  // namespace

bool DC::BitBlt(int x, int y, int w, int h, const DC& src, int sx, int sy, Rop rop) {
    if (!m_bitmap || !src.m_bitmap)
        return false;
    if (w <= 0 || h <= 0)
        return true;
    return StretchBlt(x, y, w, h, src, sx, sy, w, h, rop);
}

bool DC::StretchBlt(int x, int y, int w, int h, const DC& src, int sx, int sy, int sw, int sh,
                    Rop rop) {
    if (!m_bitmap || !src.m_bitmap)
        return false;
    if (w < 0 || h < 0 || sw < 0 || sh < 0)
        return false;
    const detail::Canvas canvas(m_bitmap, m_clip);
    if (w == 0 || h == 0 || sw == 0 || sh == 0 || canvas.IsEmpty() || src.m_bitmap->IsNull())
        return true;

    const Point dst = ToDevice(x, y);
    const Point from = src.ToDevice(sx, sy);
    const AxisMap mapX{sw, w}, mapY{sh, h};
    const Rect& box = canvas.Box();
    const AxisRange cols =
        VisibleRange(mapX, dst.x, box.left, box.right, from.x, src.m_bitmap->Width());
    const AxisRange rows =
        VisibleRange(mapY, dst.y, box.top, box.bottom, from.y, src.m_bitmap->Height());
    if (cols.first >= cols.last || rows.first >= rows.last)
        return true;
    Announce({dst.x + cols.first, dst.y + rows.first, dst.x + cols.last, dst.y + rows.last});

    // Reading and writing the same bitmap: read from a copy so no source pixel is overwritten
    // before it is used. Only the band of rows the transfer reads is copied, so moving a piece of
    // a big map costs the piece, not the map.
    Bitmap copy;
    const Bitmap* source = src.m_bitmap;
    int rowBase = 0;  // source row r is row r - rowBase of `source`
    if (source == m_bitmap) {
        rowBase = from.y + static_cast<int>(mapY.Lo(rows.first));
        const int rowEnd = from.y + static_cast<int>(mapY.Hi(rows.last - 1)) + 1;
        copy = Bitmap(source->Width(), rowEnd - rowBase, source->BitsPerPixel());
        for (int r = rowBase; r < rowEnd; ++r)
            std::memcpy(copy.Row(r - rowBase), source->Row(r),
                        static_cast<std::size_t>(source->Width()) * sizeof(Color));
        source = &copy;
    }

    Conversion conv;
    conv.toMono = !source->IsMonochrome() && m_bitmap->IsMonochrome();
    conv.fromMono = source->IsMonochrome() && !m_bitmap->IsMonochrome();
    conv.srcBk = src.m_bkColor;
    conv.text = m_textColor;
    conv.bk = m_bkColor;

    const int n = cols.last - cols.first;
    std::vector<int> xLo(static_cast<std::size_t>(n)), xHi(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        xLo[static_cast<std::size_t>(i)] = from.x + static_cast<int>(mapX.Lo(cols.first + i));
        xHi[static_cast<std::size_t>(i)] = from.x + static_cast<int>(mapX.Hi(cols.first + i));
    }
    const int dx0 = dst.x + cols.first;

    const bool combine = m_stretchMode == StretchMode::BlackOnWhite && (w < sw || h < sh);
    if (!combine) {
        // One source pixel per destination pixel: the last column of a horizontal group and the
        // first row of a vertical group (the same pixel when enlarging).
        const bool plainCopy = rop == Rop::SrcCopy && conv.IsPlain();
        const bool sameShape = w == sw;
        const Color* prevRow = nullptr;
        int prevSrcRow = -1;
        for (int j = rows.first; j < rows.last; ++j) {
            const int srcRow = from.y + static_cast<int>(mapY.Lo(j));
            Color* d = m_bitmap->Row(dst.y + j) + dx0;
            if (rop == Rop::SrcCopy && srcRow == prevSrcRow) {
                // Enlarging repeats whole rows: copy the one just made.
                std::memcpy(d, prevRow, static_cast<std::size_t>(n) * sizeof(Color));
                continue;
            }
            const Color* s = source->Row(srcRow - rowBase);
            if (plainCopy && sameShape) {
                std::memcpy(d, s + xHi[0], static_cast<std::size_t>(n) * sizeof(Color));
            } else if (rop == Rop::SrcCopy) {
                for (int i = 0; i < n; ++i)
                    d[i] = conv.Post(conv.Pre(s[xHi[static_cast<std::size_t>(i)]]));
            } else {
                for (int i = 0; i < n; ++i)
                    d[i] = ApplyRop(rop, conv.Post(conv.Pre(s[xHi[static_cast<std::size_t>(i)]])),
                                    d[i]);
            }
            prevRow = d;
            prevSrcRow = srcRow;
        }
        return true;
    }

    // A shrink by whole factors (a zoomed-out view): every group is an rx x ry block, and a
    // plain copy of colours needs no conversion, so each pixel is the AND of its block's rows
    // taken straight from the source.
    if (rop == Rop::SrcCopy && conv.IsPlain() && sw % w == 0 && sh % h == 0) {
        const int rx = sw / w, ry = sh / h;
        std::vector<Color> acc(static_cast<std::size_t>(n) * static_cast<std::size_t>(rx));
        for (int j = rows.first; j < rows.last; ++j) {
            const int r0 = from.y + j * ry - rowBase;
            Color* d = m_bitmap->Row(dst.y + j) + dx0;
            const Color* a = source->Row(r0) + xLo.front();
            if (rx == 2 && ry == 2) {
                const Color* b = source->Row(r0 + 1) + xLo.front();
                for (int i = 0; i < n; ++i)
                    d[i] = a[2 * i] & a[2 * i + 1] & b[2 * i] & b[2 * i + 1];
                continue;
            }
            std::copy_n(a, acc.size(), acc.begin());
            for (int r = 1; r < ry; ++r) {
                const Color* s = source->Row(r0 + r) + xLo.front();
                for (std::size_t c = 0; c < acc.size(); ++c)
                    acc[c] &= s[c];
            }
            for (int i = 0; i < n; ++i) {
                const Color* block = acc.data() + static_cast<std::size_t>(i) * rx;
                Color v = block[0];
                for (int c = 1; c < rx; ++c)
                    v &= block[c];
                d[i] = v;
            }
        }
        return true;
    }

    // Shrinking by AND, so that dark pixels survive: first AND the rows of each vertical group
    // into one row, then AND each horizontal group of that row.
    const int c0 = xLo.front(), c1 = xHi.back() + 1;
    std::vector<Color> acc(static_cast<std::size_t>(c1 - c0));
    for (int j = rows.first; j < rows.last; ++j) {
        std::fill(acc.begin(), acc.end(), kAllBits);
        const int r0 = from.y + static_cast<int>(mapY.Lo(j));
        const int r1 = from.y + static_cast<int>(mapY.Hi(j));
        for (int r = r0; r <= r1; ++r) {
            const Color* s = source->Row(r - rowBase) + c0;
            if (conv.toMono) {
                for (std::size_t c = 0; c < acc.size(); ++c)
                    acc[c] &= conv.Pre(s[c]);
            } else {
                for (std::size_t c = 0; c < acc.size(); ++c)
                    acc[c] &= s[c];
            }
        }
        Color* d = m_bitmap->Row(dst.y + j) + dx0;
        for (int i = 0; i < n; ++i) {
            Color v = kAllBits;
            for (int c = xLo[static_cast<std::size_t>(i)]; c <= xHi[static_cast<std::size_t>(i)];
                 ++c)
                v &= acc[static_cast<std::size_t>(c - c0)];
            d[i] = ApplyRop(rop, conv.Post(v), d[i]);
        }
    }
    return true;
}

}  // namespace gdi
