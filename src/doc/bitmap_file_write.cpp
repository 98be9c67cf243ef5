// Writing: a bitmap becomes a packed DIB with a colour table, and a file through AtomicFile.
#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <optional>

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

// The 40-byte info header and the colour table (`entries`, for an 8-bit file), into `out`.
void EncodeHeader(const gdi::Bitmap& bitmap, const DibShape& s,
                  const std::array<gdi::Color, ColorTable::kSize>* entries, std::uint8_t* out) {
    Put32(out + 0, kInfoHeaderSize);
    Put32(out + 4, static_cast<std::uint32_t>(bitmap.Width()));
    Put32(out + 8, static_cast<std::uint32_t>(bitmap.Height()));
    Put16(out + 12, 1);
    Put16(out + 14, static_cast<std::uint32_t>(s.bpp));
    Put32(out + 16, kBiRgb);
    Put32(out + 20, static_cast<std::uint32_t>(s.imageSize));
    std::memset(out + 24, 0, 16);  // resolutions, colours used, colours important

    std::uint8_t* table = out + kInfoHeaderSize;
    if (entries) {
        for (int i = 0; i < ColorTable::kSize; ++i)
            Put32(table + 4 * i, (*entries)[static_cast<std::size_t>(i)]);  // B, G, R, 0
    } else {
        Put32(table, gdi::kBlack);
        Put32(table + 4, gdi::kWhite);
    }
}

// The file's rows [first, first + count) (bottom-up, padded to four bytes) into `out`, every
// byte written, padding included.
void EncodeRows(const gdi::Bitmap& bitmap, const DibShape& s, const ColorTable* colors, int first,
                int count, std::uint8_t* out) {
    const int w = bitmap.Width();
    const int h = bitmap.Height();
    const auto stride = static_cast<std::size_t>(s.stride);
    for (int i = 0; i < count; ++i) {
        const gdi::Color* src = bitmap.Row(h - 1 - (first + i));
        std::uint8_t* dst = out + static_cast<std::size_t>(i) * stride;
        if (colors) {
            colors->IndexRow(src, dst, w);
            std::memset(dst + w, 0, stride - static_cast<std::size_t>(w));
        } else {
            std::memset(dst, 0, stride);
            for (int x = 0; x < w; ++x)
                if (gdi::Bitmap::NearestMono(src[x]) == gdi::kWhite)
                    dst[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
        }
    }
}

// The colour table of an 8-bit file; none for a monochrome one.
std::optional<ColorTable> TableOf(const gdi::Bitmap& bitmap, const DibShape& s) {
    if (s.bpp != 8)
        return std::nullopt;
    return ColorTable(bitmap);
}

// How many rows are encoded and written at a time: a band of a few MiB, so that a large map's
// file is never in memory whole.
constexpr std::uint64_t kBandBytes = std::uint64_t{4} << 20;

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
    const std::optional<ColorTable> colors = TableOf(bitmap, shape);
    const ColorTable* table = colors ? &*colors : nullptr;
    EncodeHeader(bitmap, shape, table ? &table->Entries() : nullptr, dib.data());
    EncodeRows(bitmap, shape, table, 0, bitmap.Height(),
               dib.data() + kInfoHeaderSize + 4 * std::uint64_t{shape.colors});
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
    const std::uint64_t headerBytes =
        kFileHeaderSize + kInfoHeaderSize + 4 * std::uint64_t{shape.colors};
    const int bandRows = static_cast<int>(std::clamp<std::uint64_t>(
        kBandBytes / shape.stride, 1, static_cast<std::uint64_t>(bitmap.Height())));
    std::vector<std::uint8_t> head, band;
    try {
        head.resize(static_cast<std::size_t>(headerBytes));
        band.resize(static_cast<std::size_t>(shape.stride) * static_cast<std::size_t>(bandRows));
    } catch (const std::bad_alloc&) {
        return Fail(error, BitmapErrorCode::OutOfMemory, "out of memory for the file's rows");
    }
    std::uint8_t* h = head.data();
    h[0] = 'B';
    h[1] = 'M';
    Put32(h + 2, static_cast<std::uint32_t>(fileSize));
    Put32(h + 6, 0);  // two reserved words
    Put32(h + 10, static_cast<std::uint32_t>(headerBytes));

    // Each band of rows is encoded, then written before the next is made. `encode` makes the
    // file's rows [r, r + n) in `band`, or gives up.
    const auto produce = [&](const auto& encode) {
        return [&](const AtomicFile::Writer& write) {
            if (!write(head))
                return false;
            for (int r = 0; r < bitmap.Height(); r += bandRows) {
                const int n = std::min(bandRows, bitmap.Height() - r);
                if (!encode(r, n) || !write({band.data(), static_cast<std::size_t>(shape.stride) *
                                                              static_cast<std::size_t>(n)}))
                    return false;
            }
            return true;
        };
    };
    const auto written = [&](const auto& encode) {
        std::string why;
        if (AtomicFile::Replace(path, produce(encode), &why, "the rows could not be made"))
            return true;
        Fail(error, BitmapErrorCode::CannotWrite, why);
        return false;
    };

    if (shape.bpp == 8) {
        // Most maps hold only colours of the default table, and then the table is the default
        // one: the rows are indexed as they are written, in one pass over the map. The first
        // colour of another kind starts the writing over with a table made from the whole map.
        bool allDefault = true;
        EncodeHeader(bitmap, shape, &ColorTable::Default(), h + kFileHeaderSize);
        const auto indexDefault = [&](int r, int n) {
            for (int i = 0; i < n; ++i) {
                std::uint8_t* dst = band.data() + static_cast<std::size_t>(i) * shape.stride;
                if (!ColorTable::IndexRowIfDefault(bitmap.Row(bitmap.Height() - 1 - (r + i)), dst,
                                                   bitmap.Width()))
                    return allDefault = false;
                std::memset(dst + bitmap.Width(), 0, shape.stride - bitmap.Width());
            }
            return true;
        };
        if (written(indexDefault))
            return true;
        if (allDefault)
            return false;
    }
    const std::optional<ColorTable> colors = TableOf(bitmap, shape);
    const ColorTable* table = colors ? &*colors : nullptr;
    EncodeHeader(bitmap, shape, table ? &table->Entries() : nullptr, h + kFileHeaderSize);
    return written([&](int r, int n) {
        EncodeRows(bitmap, shape, table, r, n, band.data());
        return true;
    });
}

}  // namespace zk
