// The DIB helpers: header questions answered on a packed DIB, exact copies, and drawing a DIB.
#include <algorithm>

#include "doc/bitmap_file.h"
#include "doc/dib_format.h"

namespace zk {

using namespace dib;

void CopyBitmap(const gdi::Bitmap& source, gdi::Bitmap& destination) {
    if (&source == &destination)
        return;
    destination = source;
}

int PaintDib(gdi::DC& dc, const gdi::Rect& destination, std::span<const std::uint8_t> dib,
             const gdi::Rect& source) {
    if (dib.empty())
        return 0;
    gdi::Bitmap image;
    if (!DibToBitmap(dib, image))
        return 0;
    gdi::DC src(&image);
    // Rows and columns are dropped or repeated, never blended, as a printed map must stay crisp.
    dc.SetStretchBltMode(gdi::StretchMode::ColorOnColor);
    bool drawn;
    if (destination.Width() == source.Width() && destination.Height() == source.Height())
        drawn = dc.BitBlt(destination.left, destination.top, destination.Width(),
                          destination.Height(), src, source.left, source.top, gdi::Rop::SrcCopy);
    else
        drawn = dc.StretchBlt(destination.left, destination.top, destination.Width(),
                              destination.Height(), src, source.left, source.top, source.Width(),
                              source.Height(), gdi::Rop::SrcCopy);
    return drawn ? std::max(source.Height(), 0) : 0;
}

std::uint32_t DibNumColors(std::span<const std::uint8_t> dib) {
    if (dib.size() < 4)
        return 0;
    const std::uint32_t headerSize = Get32(dib.data());
    int bpp;
    if (headerSize == kCoreHeaderSize) {
        if (dib.size() < kCoreHeaderSize)
            return 0;
        bpp = Get16(dib.data() + 10);
    } else {
        if (headerSize < 16 || dib.size() < headerSize)
            return 0;
        if (headerSize >= 36) {
            const std::uint32_t used = Get32(dib.data() + 32);
            if (used != 0)
                return used;
        }
        bpp = Get16(dib.data() + 14);
    }
    switch (bpp) {
        case 1:
            return 2;
        case 4:
            return 16;
        case 8:
            return 256;
        default:
            return 0;
    }
}

std::uint64_t DibPaletteSize(std::span<const std::uint8_t> dib) {
    if (dib.size() < 4)
        return 0;
    const bool core = Get32(dib.data()) == kCoreHeaderSize;
    return std::uint64_t{DibNumColors(dib)} * (core ? 3 : 4);
}

int DibHeight(std::span<const std::uint8_t> dib) {
    if (dib.size() < 4)
        return 0;
    const std::uint32_t headerSize = Get32(dib.data());
    if (headerSize == kCoreHeaderSize)
        return dib.size() >= kCoreHeaderSize ? Get16(dib.data() + 6) : 0;
    if (headerSize < 16 || dib.size() < headerSize)
        return 0;
    return GetS32(dib.data() + 8);
}

const std::uint8_t* DibBits(std::span<const std::uint8_t> dib) {
    if (dib.size() < 4)
        return nullptr;
    const std::uint32_t headerSize = Get32(dib.data());
    if (headerSize != kCoreHeaderSize && (headerSize < 16 || dib.size() < headerSize))
        return nullptr;
    if (dib.size() < headerSize)
        return nullptr;
    std::uint64_t offset = headerSize;
    if (headerSize == kInfoHeaderSize) {
        const std::uint32_t compression = Get32(dib.data() + 16);
        if (compression == kBiBitfields)
            offset += 12;
        if (compression == kBiAlphaBitfields)
            offset += 16;
    }
    offset += DibPaletteSize(dib);
    if (offset > dib.size())
        return nullptr;
    return dib.data() + offset;
}

}  // namespace zk
