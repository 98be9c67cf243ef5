// Writing: a bitmap becomes a packed DIB with a colour table, and a file through AtomicFile.
#include <cstring>
#include <memory>
#include <new>

#include "doc/atomic_file.h"
#include "doc/bitmap_file.h"
#include "doc/color_table.h"
#include "doc/dib_format.h"

namespace zk {

namespace {

using namespace dib;
using gdi::Color;

struct DibShape {
    int bpp = 0;  // 8 or 1
    std::uint32_t colors = 0;
    std::uint64_t stride = 0;
    std::uint64_t imageSize = 0;
    std::uint64_t total = 0;  // header + table + rows
};

DibShape ShapeOf(const gdi::Bitmap& bitmap) {
    DibShape s;
    s.bpp = bitmap.IsMonochrome() ? 1 : 8;
    s.colors = 1u << s.bpp;
    s.stride = ((static_cast<std::uint64_t>(bitmap.Width()) * s.bpp + 31) & ~std::uint64_t{31}) / 8;
    s.imageSize = s.stride * static_cast<std::uint64_t>(bitmap.Height());
    s.total = kInfoHeaderSize + 4 * std::uint64_t{s.colors} + s.imageSize;
    return s;
}

// Fills `out` (s.total bytes, contents undefined on entry) with the packed DIB; every byte,
// padding included, is written.
void EncodeDib(const gdi::Bitmap& bitmap, const DibShape& s, std::uint8_t* out) {
    const int w = bitmap.Width();
    const int h = bitmap.Height();
    Put32(out + 0, kInfoHeaderSize);
    Put32(out + 4, static_cast<std::uint32_t>(w));
    Put32(out + 8, static_cast<std::uint32_t>(h));
    Put16(out + 12, 1);
    Put16(out + 14, static_cast<std::uint32_t>(s.bpp));
    Put32(out + 16, kBiRgb);
    Put32(out + 20, static_cast<std::uint32_t>(s.imageSize));
    std::memset(out + 24, 0, 16);  // resolutions, colours used, colours important

    std::uint8_t* table = out + kInfoHeaderSize;
    std::uint8_t* rows = table + 4 * std::uint64_t{s.colors};
    const std::size_t stride = static_cast<std::size_t>(s.stride);
    if (s.bpp == 8) {
        const ColorTable colors(bitmap);
        for (int i = 0; i < ColorTable::kSize; ++i)
            Put32(table + 4 * i, colors.Entries()[i]);  // B, G, R, 0
        const std::size_t pad = stride - static_cast<std::size_t>(w);
        for (int y = 0; y < h; ++y) {
            std::uint8_t* dst = rows + static_cast<std::size_t>(y) * stride;
            colors.IndexRow(bitmap.Row(h - 1 - y), dst, w);
            std::memset(dst + w, 0, pad);
        }
    } else {
        Put32(table, gdi::kBlack);
        Put32(table + 4, gdi::kWhite);
        for (int y = 0; y < h; ++y) {
            const Color* src = bitmap.Row(h - 1 - y);
            std::uint8_t* dst = rows + static_cast<std::size_t>(y) * stride;
            std::memset(dst, 0, stride);
            for (int x = 0; x < w; ++x)
                if (gdi::Bitmap::NearestMono(src[x]) == gdi::kWhite)
                    dst[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
        }
    }
}

}  // namespace

std::optional<std::vector<std::uint8_t>> BitmapToDib(const gdi::Bitmap& bitmap,
                                                     BitmapError* error) {
    if (bitmap.IsNull()) {
        Fail(error, BitmapErrorCode::EmptyBitmap, "the bitmap is empty");
        return std::nullopt;
    }
    const DibShape shape = ShapeOf(bitmap);
    std::vector<std::uint8_t> dib;
    try {
        dib.resize(static_cast<std::size_t>(shape.total));
    } catch (const std::bad_alloc&) {
        Fail(error, BitmapErrorCode::OutOfMemory, "out of memory for the bitmap's file image");
        return std::nullopt;
    }
    EncodeDib(bitmap, shape, dib.data());
    return dib;
}

bool WriteBitmapFile(const std::filesystem::path& path, const gdi::Bitmap& bitmap,
                     BitmapError* error) {
    if (bitmap.IsNull())
        return Fail(error, BitmapErrorCode::EmptyBitmap, "cannot write an empty bitmap");
    const DibShape shape = ShapeOf(bitmap);
    const std::uint64_t fileSize = kFileHeaderSize + shape.total;
    if (fileSize > 0xFFFFFFFFu)
        return Fail(error, BitmapErrorCode::TooLarge, "image too large for a bitmap file");
    std::unique_ptr<std::uint8_t[]> buf;
    try {
        buf = std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(fileSize));
    } catch (const std::bad_alloc&) {
        return Fail(error, BitmapErrorCode::OutOfMemory,
                    "out of memory for the bitmap's file image");
    }
    std::uint8_t* h = buf.get();
    h[0] = 'B';
    h[1] = 'M';
    Put32(h + 2, static_cast<std::uint32_t>(fileSize));
    Put32(h + 6, 0);  // two reserved words
    Put32(h + 10, static_cast<std::uint32_t>(kFileHeaderSize + kInfoHeaderSize +
                                             4 * std::uint64_t{shape.colors}));
    EncodeDib(bitmap, shape, h + kFileHeaderSize);

    std::string why;
    if (!AtomicFile::Replace(path, {buf.get(), static_cast<std::size_t>(fileSize)}, &why))
        return Fail(error, BitmapErrorCode::CannotWrite, why);
    return true;
}

}  // namespace zk
