// Reading: the headers are checked from the file's first bytes, and only then are the colour
// table and the pixel data the headers promise read, and decoded into a display-format bitmap.
#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "doc/bitmap_file.h"
#include "doc/dib_format.h"
#include "doc/file_reader.h"
#include "doc/read_file.h"

namespace zk {

namespace {

using namespace dib;
using gdi::Color;

std::string Hex(std::uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%X", v);
    return buf;
}

struct ChannelMask {
    std::uint32_t shift = 0;  // applied first, leaving at most 8 significant bits
    std::uint32_t bits = 0;   // significant bits left, 1..8
};

struct DibLayout {
    std::uint32_t headerSize = 0;
    bool core = false;
    int width = 0;
    int height = 0;  // always positive
    bool topDown = false;
    int bpp = 0;
    std::uint32_t compression = kBiRgb;
    std::uint64_t entrySize = 4;     // bytes per colour table entry
    std::uint64_t tableStart = 0;    // after the header and any separate masks
    std::uint64_t tableEntries = 0;  // as the header announces them
    std::uint32_t masks[3] = {0, 0, 0};
    bool useMasks = false;
    std::uint64_t stride = 0;
    std::uint64_t imageBytes = 0;  // uncompressed rows
};

bool CheckMask(std::uint32_t mask, int bpp, const char* channel, BitmapError* error) {
    if (mask == 0)
        return Fail(error, BitmapErrorCode::BadData,
                    std::string("zero bit-field mask for ") + channel);
    const std::uint32_t low = mask >> std::countr_zero(mask);
    if ((low & (low + 1)) != 0)
        return Fail(error, BitmapErrorCode::BadData,
                    std::string("bit-field mask ") + Hex(mask) + " for " + channel +
                        " is not one run of bits");
    if (bpp == 16 && (mask >> 16) != 0)
        return Fail(error, BitmapErrorCode::BadData,
                    std::string("bit-field mask ") + Hex(mask) + " for " + channel +
                        " lies outside a 16-bit pixel");
    return true;
}

// Reads and checks the header of the packed DIB, of which `dib` holds at least the header and
// any masks after it (or all there is, when that is less); on success `l` says where everything
// is, relative to the start of the block.
bool ParseHeader(std::span<const std::uint8_t> dib, DibLayout& l, BitmapError* error) {
    const std::uint8_t* d = dib.data();
    if (dib.size() < 4)
        return Fail(error, BitmapErrorCode::Truncated, "file is truncated (header)");
    l.headerSize = Get32(d);
    switch (l.headerSize) {
        case 12:
        case 16:
        case 40:
        case 52:
        case 56:
        case 64:
        case 108:
        case 124:
            break;
        default:
            return Fail(error, BitmapErrorCode::Unsupported,
                        "unsupported header size: " + std::to_string(l.headerSize) + " bytes");
    }
    if (dib.size() < l.headerSize)
        return Fail(error, BitmapErrorCode::Truncated, "file is truncated (header)");

    std::int64_t width, height;
    std::uint32_t planes, clrUsed = 0;
    if (l.headerSize == kCoreHeaderSize) {
        l.core = true;
        width = Get16(d + 4);
        height = Get16(d + 6);
        planes = Get16(d + 8);
        l.bpp = Get16(d + 10);
        l.entrySize = 3;
    } else {
        width = GetS32(d + 4);
        height = GetS32(d + 8);
        planes = Get16(d + 12);
        l.bpp = Get16(d + 14);
        if (l.headerSize >= 20)
            l.compression = Get32(d + 16);
        if (l.headerSize >= 36)
            clrUsed = Get32(d + 32);
    }
    // The OS/2 version 2 headers give compression 3 and 4 other meanings.
    const bool os2 = l.headerSize == 16 || l.headerSize == 64;
    if (os2 && l.compression == 3)
        return Fail(error, BitmapErrorCode::Unsupported, "unsupported compression: OS/2 Huffman");
    if (os2 && l.compression == 4)
        return Fail(error, BitmapErrorCode::Unsupported, "unsupported compression: OS/2 RLE24");
    switch (l.compression) {
        case kBiRgb:
        case kBiRle8:
        case kBiRle4:
        case kBiBitfields:
        case kBiAlphaBitfields:
            break;
        case kBiJpeg:
            return Fail(error, BitmapErrorCode::Unsupported, "unsupported: embedded JPEG image");
        case kBiPng:
            return Fail(error, BitmapErrorCode::Unsupported, "unsupported: embedded PNG image");
        default:
            return Fail(error, BitmapErrorCode::Unsupported,
                        "unsupported compression: " + std::to_string(l.compression));
    }
    if (planes != 1)
        return Fail(error, BitmapErrorCode::BadHeader,
                    "bad header: " + std::to_string(planes) + " planes (must be 1)");
    switch (l.bpp) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            break;
        default:
            return Fail(error, BitmapErrorCode::Unsupported,
                        "unsupported: " + std::to_string(l.bpp) + " bits per pixel");
    }
    if (l.core && l.bpp != 1 && l.bpp != 4 && l.bpp != 8 && l.bpp != 24)
        return Fail(error, BitmapErrorCode::Unsupported,
                    "unsupported: " + std::to_string(l.bpp) + " bits per pixel in an OS/2 file");
    if ((l.compression == kBiRle8 && l.bpp != 8) || (l.compression == kBiRle4 && l.bpp != 4))
        return Fail(error, BitmapErrorCode::BadHeader,
                    std::string("bad header: ") + (l.compression == kBiRle8 ? "RLE8" : "RLE4") +
                        " with " + std::to_string(l.bpp) + " bits per pixel");
    const bool bitfields = l.compression == kBiBitfields || l.compression == kBiAlphaBitfields;
    if (bitfields && l.bpp != 16 && l.bpp != 32)
        return Fail(
            error, BitmapErrorCode::BadHeader,
            "bad header: bit-field masks with " + std::to_string(l.bpp) + " bits per pixel");

    if (width <= 0)
        return Fail(error, BitmapErrorCode::BadHeader,
                    "bad header: width " + std::to_string(width));
    if (height == 0)
        return Fail(error, BitmapErrorCode::BadHeader, "bad header: height 0");
    l.topDown = height < 0;
    if (l.topDown)
        height = -height;
    if (!WithinBitmapLimits(width, height))
        return Fail(error, BitmapErrorCode::TooLarge, TooLargeText(width, height));
    l.width = static_cast<int>(width);
    l.height = static_cast<int>(height);
    if (l.topDown && (l.compression == kBiRle8 || l.compression == kBiRle4))
        return Fail(error, BitmapErrorCode::BadHeader,
                    "bad header: run-length compressed rows cannot be top-down");

    l.tableStart = l.headerSize;
    if (bitfields) {
        const std::uint64_t maskBytes = l.compression == kBiAlphaBitfields ? 16 : 12;
        // The 40-byte header keeps its masks after it; the longer ones have them inside.
        if (l.headerSize == kInfoHeaderSize) {
            if (dib.size() < kInfoHeaderSize + maskBytes)
                return Fail(error, BitmapErrorCode::Truncated,
                            "file is truncated (bit-field masks)");
            l.tableStart += maskBytes;
        }
        l.masks[0] = Get32(d + 40);
        l.masks[1] = Get32(d + 44);
        l.masks[2] = Get32(d + 48);
        l.useMasks = true;
    } else if (l.bpp == 16) {
        l.masks[0] = 0x7C00;
        l.masks[1] = 0x03E0;
        l.masks[2] = 0x001F;
        l.useMasks = true;
    }
    if (l.useMasks) {
        if (!CheckMask(l.masks[0], l.bpp, "red", error) ||
            !CheckMask(l.masks[1], l.bpp, "green", error) ||
            !CheckMask(l.masks[2], l.bpp, "blue", error))
            return false;
    }

    if (l.bpp <= 8)
        l.tableEntries = clrUsed != 0 ? clrUsed : (std::uint64_t{1} << l.bpp);
    else
        l.tableEntries = clrUsed;
    l.stride = ((static_cast<std::uint64_t>(l.width) * static_cast<std::uint64_t>(l.bpp) + 31) &
                ~std::uint64_t{31}) /
               8;
    l.imageBytes = l.stride * static_cast<std::uint64_t>(l.height);
    return true;
}

// Where the pixel data starts and how many table entries are there to read, in a block of `size`
// bytes. `offsetHint` is the file header's pixel offset, made relative to the block; `base` turns
// block offsets back into file offsets for messages.
bool LocatePixels(std::uint64_t size, const DibLayout& l, std::optional<std::uint64_t> offsetHint,
                  std::uint64_t base, std::uint64_t& pixelOffset, std::uint64_t& tableCount,
                  BitmapError* error) {
    const bool rle = l.compression == kBiRle8 || l.compression == kBiRle4;
    // An RLE stream's length is known only by decoding it; it needs at least one code.
    const std::uint64_t need = rle ? 2 : l.imageBytes;
    // tableEntries may be absurd (up to 2^32 - 1): the product still fits in 64 bits.
    const std::uint64_t computed = l.tableStart + l.tableEntries * l.entrySize;

    if (offsetHint && *offsetHint >= l.tableStart && *offsetHint <= size &&
        size - *offsetHint >= need) {
        pixelOffset = *offsetHint;
        tableCount = std::min(l.tableEntries, (pixelOffset - l.tableStart) / l.entrySize);
        return true;
    }
    if (computed <= size && size - computed >= need) {
        pixelOffset = computed;
        tableCount = l.tableEntries;
        return true;
    }
    if (computed > size)
        return Fail(
            error, BitmapErrorCode::Truncated,
            "file is truncated (colour table of " + std::to_string(l.tableEntries) + " entries)");
    return Fail(error, BitmapErrorCode::Truncated,
                "file is truncated (pixel data needs " + std::to_string(need) +
                    " bytes at offset " + std::to_string(base + computed) + ", only " +
                    std::to_string(size - computed) + " there)");
}

// A channel of `bits` bits widened to 8 by repeating its bits from the top (5-bit 31 -> 255).
std::uint8_t Widen(std::uint32_t v, std::uint32_t bits) {
    std::uint32_t x = v;
    std::uint32_t have = bits;
    while (have < 8) {
        x = (x << bits) | v;
        have += bits;
    }
    return static_cast<std::uint8_t>(x >> (have - 8));
}

struct MaskDecoder {
    ChannelMask ch[3];
    std::uint8_t widen[3][256];

    explicit MaskDecoder(const std::uint32_t masks[3]) {
        for (int i = 0; i < 3; ++i) {
            const std::uint32_t shift = static_cast<std::uint32_t>(std::countr_zero(masks[i]));
            std::uint32_t bits = static_cast<std::uint32_t>(std::popcount(masks[i]));
            ch[i].shift = shift;
            if (bits > 8) {  // wider channels keep their top 8 bits
                ch[i].shift += bits - 8;
                bits = 8;
            }
            ch[i].bits = bits;
            for (std::uint32_t v = 0; v < 256; ++v)
                widen[i][v] = v < (1u << bits) ? Widen(v, bits) : 0;
        }
    }
    Color operator()(std::uint32_t p) const {
        const std::uint32_t r = (p >> ch[0].shift) & ((1u << ch[0].bits) - 1);
        const std::uint32_t g = (p >> ch[1].shift) & ((1u << ch[1].bits) - 1);
        const std::uint32_t b = (p >> ch[2].shift) & ((1u << ch[2].bits) - 1);
        return (Color{widen[0][r]} << 16) | (Color{widen[1][g]} << 8) | widen[2][b];
    }
};

void DecodeRow(const DibLayout& l, const Color* pal, const MaskDecoder* masks,
               const std::uint8_t* src, Color* dst) {
    const int w = l.width;
    switch (l.bpp) {
        case 1: {
            int x = 0;
            for (; x + 8 <= w; x += 8) {
                const unsigned b = src[x >> 3];
                dst[x + 0] = pal[(b >> 7) & 1];
                dst[x + 1] = pal[(b >> 6) & 1];
                dst[x + 2] = pal[(b >> 5) & 1];
                dst[x + 3] = pal[(b >> 4) & 1];
                dst[x + 4] = pal[(b >> 3) & 1];
                dst[x + 5] = pal[(b >> 2) & 1];
                dst[x + 6] = pal[(b >> 1) & 1];
                dst[x + 7] = pal[b & 1];
            }
            for (; x < w; ++x)
                dst[x] = pal[(src[x >> 3] >> (7 - (x & 7))) & 1];
            break;
        }
        case 4: {
            int x = 0;
            for (; x + 2 <= w; x += 2) {
                const unsigned b = src[x >> 1];
                dst[x] = pal[b >> 4];
                dst[x + 1] = pal[b & 15];
            }
            if (x < w)
                dst[x] = pal[src[x >> 1] >> 4];
            break;
        }
        case 8:
            for (int x = 0; x < w; ++x)
                dst[x] = pal[src[x]];
            break;
        case 16:
            for (int x = 0; x < w; ++x)
                dst[x] = (*masks)(Get16(src + 2 * x));
            break;
        case 24:
            for (int x = 0; x < w; ++x, src += 3)
                dst[x] = (Color{src[2]} << 16) | (Color{src[1]} << 8) | src[0];
            break;
        case 32:
            if (masks) {
                for (int x = 0; x < w; ++x)
                    dst[x] = (*masks)(Get32(src + 4 * x));
            } else {
                for (int x = 0; x < w; ++x) {
                    std::uint32_t p;
                    std::memcpy(&p, src + 4 * x, 4);
                    if constexpr (std::endian::native != std::endian::little)
                        p = Get32(src + 4 * x);
                    dst[x] = p & 0xFFFFFF;
                }
            }
            break;
    }
}

// An 8-bit row two pixels per look-up, in a table of the colours of every pair of indices
// (512 KiB, which stays in the second-level cache): a large picture decodes at about the speed it
// is written.
void DecodeRow8Pairs(const std::uint8_t* src, Color* dst, int w, const std::uint64_t* pairs,
                     const Color* pal) {
    int x = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; x + 4 <= w; x += 4) {
            std::uint32_t k;
            std::memcpy(&k, src + x, 4);
            const std::uint64_t a = pairs[k & 0xFFFF], b = pairs[k >> 16];
            std::memcpy(dst + x, &a, 8);
            std::memcpy(dst + x + 2, &b, 8);
        }
    }
    for (; x < w; ++x)
        dst[x] = pal[src[x]];
}

// Run-length data held whole in memory (a DIB's): every byte of it is there to look at.
class MemoryBytes {
  public:
    MemoryBytes(const std::uint8_t* p, const std::uint8_t* end) : m_p(p), m_end(end) {}
    // Whether `n` more bytes are there, from Data() on.
    bool Ensure(std::size_t n) { return static_cast<std::size_t>(m_end - m_p) >= n; }
    const std::uint8_t* Data() const { return m_p; }
    // Skips `n` bytes, or to the end when fewer are left.
    void Skip(std::size_t n) { m_p += std::min(n, static_cast<std::size_t>(m_end - m_p)); }
    // A failure of the source itself, rather than data that ends too soon: never, in memory.
    bool Failed(BitmapError*) const { return false; }

  private:
    const std::uint8_t* m_p;
    const std::uint8_t* m_end;
};

// Run-length data read from the file a band at a time.
class FileBytes : public FileReader {
  public:
    using FileReader::FileReader;
    // Whether the data ended because the file failed rather than the stream: then `error` says
    // why.
    bool Failed(BitmapError* error) const {
        switch (GetFailure()) {
            case Failure::None:
                return false;
            case Failure::Shrank:
                return ReadFile::Shrank(error);
            case Failure::ReadError:
                return !ReadFile::CannotRead(error, Errno());
        }
        return false;
    }
};

// Walks an RLE8 or RLE4 stream, drawing into `out` (all black on entry) when Draw is set.
// Drawing starts at the bottom left; nothing is ever written outside the image: runs past the
// right edge are clipped, and the stream ends once it has moved above the top row. The walk
// without drawing checks the stream before the image is allocated, so a cut-off stream costs no
// memory; both walks take the same path through the stream.
template <bool Draw, class Bytes>
bool WalkRle(const DibLayout& l, const Color* pal, Bytes& in, gdi::Bitmap* out,
             BitmapError* error) {
    const bool rle4 = l.compression == kBiRle4;
    const int w = l.width;
    const int h = l.height;
    int x = 0;
    int y = 0;  // rows from the bottom
    const auto truncated = [&] {
        if (in.Failed(error))
            return false;
        return Fail(error, BitmapErrorCode::Truncated,
                    "file is truncated (run-length data ends before its end-of-bitmap code)");
    };
    while (true) {
        if (!in.Ensure(2))
            return truncated();
        const unsigned n = in.Data()[0];
        const unsigned c = in.Data()[1];
        in.Skip(2);
        if (n > 0) {
            if constexpr (Draw) {
                const int count = std::min(static_cast<int>(n), w - x);
                Color* row = out->Row(h - 1 - y);
                if (rle4) {
                    const Color pair[2] = {pal[c >> 4], pal[c & 15]};
                    for (int i = 0; i < count; ++i)
                        row[x + i] = pair[i & 1];
                } else {
                    const Color col = pal[c];
                    for (int i = 0; i < count; ++i)
                        row[x + i] = col;
                }
            }
            x = std::min(x + static_cast<int>(n), w);
        } else if (c == 0) {  // end of line
            x = 0;
            if (++y >= h)
                return true;
        } else if (c == 1) {  // end of bitmap
            return true;
        } else if (c == 2) {  // delta
            if (!in.Ensure(2))
                return truncated();
            x = std::min(x + in.Data()[0], w);
            y += in.Data()[1];
            in.Skip(2);
            if (y >= h)
                return true;
        } else {  // literal run, padded to a 16-bit boundary
            const std::size_t bytes = rle4 ? (c + 1) / 2 : c;
            if (!in.Ensure(bytes))
                return truncated();
            if constexpr (Draw) {
                const std::uint8_t* p = in.Data();
                const int count = std::min(static_cast<int>(c), w - x);
                Color* row = out->Row(h - 1 - y);
                if (rle4) {
                    for (int i = 0; i < count; ++i)
                        row[x + i] = pal[(i & 1) ? (p[i >> 1] & 15) : (p[i >> 1] >> 4)];
                } else {
                    for (int i = 0; i < count; ++i)
                        row[x + i] = pal[p[i]];
                }
            }
            x = std::min(x + static_cast<int>(c), w);
            in.Skip((bytes + 1) & ~std::size_t{1});
        }
    }
}

// What turns pixel values into colours: every index reads a table of 256 entries, black past
// the file's own, so that a pixel value past the table can neither read out of bounds nor cost a
// check per pixel; and the masks of 16- and 32-bit pixels.
struct PixelColours {
    Color pal[256] = {};
    std::optional<MaskDecoder> masks;
    std::vector<std::uint64_t> pairs;  // for large 8-bit pictures: see DecodeRow8Pairs

    PixelColours(const DibLayout& l, const std::uint8_t* table, std::uint64_t tableCount) {
        if (l.bpp <= 8) {
            const std::uint64_t n = std::min<std::uint64_t>(tableCount, 256);
            const std::uint8_t* t = table;
            for (std::uint64_t i = 0; i < n; ++i, t += l.entrySize)
                pal[i] = gdi::RGB(t[2], t[1], t[0]);
        }
        if (l.useMasks)
            masks.emplace(l.masks);
        if (UsesPairs(l)) {
            pairs.resize(std::size_t{1} << 16);
            for (std::uint32_t k = 0; k < pairs.size(); ++k)
                pairs[k] = pal[k & 255] | (std::uint64_t{pal[k >> 8]} << 32);
        }
    }
    // The pair table pays for itself from a few million pixels on.
    static bool UsesPairs(const DibLayout& l) {
        return l.bpp == 8 && l.compression == kBiRgb &&
               std::uint64_t(l.width) * std::uint64_t(l.height) >= (std::uint64_t{1} << 22);
    }
};

// The picture the header describes, or nothing when there is no memory for it: all black for
// run-length data, which may skip pixels; not set yet for rows, which set every pixel.
bool AllocateImage(const DibLayout& l, gdi::Bitmap& out, BitmapError* error) {
    try {
        if (l.compression == kBiRle8 || l.compression == kBiRle4)
            out = gdi::Bitmap(l.width, l.height, 32, gdi::kBlack);
        else
            out = gdi::Bitmap(l.width, l.height, gdi::Bitmap::Unset{});
    } catch (const std::bad_alloc&) {
        return Fail(error, BitmapErrorCode::OutOfMemory,
                    "out of memory for a " + std::to_string(l.width) + " x " +
                        std::to_string(l.height) + " image");
    }
    return true;
}

// Decodes `count` uncompressed rows from `src` (stride apart), the file's rows `first` on, into
// `out`.
void DecodeRows(const DibLayout& l, const PixelColours& colours, const std::uint8_t* src, int first,
                int count, gdi::Bitmap& out) {
    const auto stride = static_cast<std::size_t>(l.stride);
    for (int i = 0; i < count; ++i) {
        const int r = first + i;
        Color* dst = out.Row(l.topDown ? r : l.height - 1 - r);
        const std::uint8_t* row = src + static_cast<std::size_t>(i) * stride;
        if (!colours.pairs.empty())
            DecodeRow8Pairs(row, dst, l.width, colours.pairs.data(), colours.pal);
        else
            DecodeRow(l, colours.pal, colours.masks ? &*colours.masks : nullptr, row, dst);
    }
}

// How much run-length data is read at most: as many bytes as the decoded picture takes, and
// 64 KiB more for small pictures. An honest stream needs at most two bytes a pixel (every pixel
// a run of its own) and two a row, so only padding and junk past the end is left unread.
std::uint64_t RleLimit(const DibLayout& l) {
    return 4 * static_cast<std::uint64_t>(l.width) * static_cast<std::uint64_t>(l.height) +
           (std::uint64_t{1} << 16);
}

}  // namespace

// -------------------------------------------------------------------------------------------------

bool ReadBitmapFile(const std::filesystem::path& path, gdi::Bitmap& bitmap, BitmapError* error) {
    bitmap.Reset();
    ReadFile file;
    if (!file.Open(path, error))
        return false;
    const std::uint64_t size = file.size;
    const auto cannotRead = [&] { return file.CannotRead(error); };

    // The signature and the headers, from the first bytes: nothing else is read before they
    // promise a picture that fits in the file.
    std::uint8_t head[kFileHeaderSize + kMaxHeaderSize + kMaxMaskBytes];
    const std::int64_t got = file.ReadAt(head, std::min<std::uint64_t>(size, sizeof head), 0);
    if (got < 0)
        return cannotRead();
    if (got < 2 || head[0] != 'B' || head[1] != 'M')
        return Fail(error, BitmapErrorCode::NotBitmap, "not a bitmap file (no BM signature)");
    if (static_cast<std::uint64_t>(got) < kFileHeaderSize)
        return Fail(error, BitmapErrorCode::Truncated, "file is truncated (file header)");

    DibLayout l;
    if (!ParseHeader({head + kFileHeaderSize, static_cast<std::size_t>(got) - kFileHeaderSize}, l,
                     error))
        return false;
    const std::uint32_t offBits = Get32(head + 10);
    std::optional<std::uint64_t> hint;
    if (offBits >= kFileHeaderSize)
        hint = offBits - kFileHeaderSize;
    const std::uint64_t dibSize = size - kFileHeaderSize;
    std::uint64_t pixelOffset = 0, tableCount = 0;
    if (!LocatePixels(dibSize, l, hint, kFileHeaderSize, pixelOffset, tableCount, error))
        return false;

    std::vector<std::uint8_t> table;
    if (l.bpp <= 8) {
        tableCount = std::min<std::uint64_t>(tableCount, 256);
        table.resize(static_cast<std::size_t>(tableCount * l.entrySize));
        const std::int64_t n =
            file.ReadAt(table.data(), table.size(), kFileHeaderSize + l.tableStart);
        if (n < 0)
            return cannotRead();
        if (static_cast<std::uint64_t>(n) < table.size())
            return ReadFile::Shrank(error);
    }
    const PixelColours colours(l, table.data(), tableCount);
    const std::uint64_t pixelStart = kFileHeaderSize + pixelOffset;

    // The picture is decoded as the file is read, a band at a time: it is never held a second
    // time as the file's bytes. It is handed over only once all of it has been read.
    gdi::Bitmap out;
    if (l.compression == kBiRle8 || l.compression == kBiRle4) {
        const std::uint64_t length = std::min(dibSize - pixelOffset, RleLimit(l));
        // The stream is walked once to check it, before the image's memory is taken, and once
        // more to draw it.
        FileBytes check(file.fd, pixelStart, length);
        if (!WalkRle<false>(l, colours.pal, check, nullptr, error))
            return false;
        if (!AllocateImage(l, out, error))
            return false;
        FileBytes draw(file.fd, pixelStart, length);
        if (!WalkRle<true>(l, colours.pal, draw, &out, error))
            return false;
    } else {
        if (!AllocateImage(l, out, error))
            return false;
        const auto stride = static_cast<std::size_t>(l.stride);
        const int bandRows = static_cast<int>(std::clamp<std::uint64_t>(
            FileReader::kBandBytes / l.stride, 1, static_cast<std::uint64_t>(l.height)));
        FileBytes rows(file.fd, pixelStart, l.imageBytes);
        for (int r = 0; r < l.height; r += bandRows) {
            const int n = std::min(bandRows, l.height - r);
            const std::size_t bytes = stride * static_cast<std::size_t>(n);
            if (!rows.Ensure(bytes))
                return rows.Failed(error) ? false : ReadFile::Shrank(error);
            DecodeRows(l, colours, rows.Data(), r, n, out);
            rows.Skip(bytes);
        }
    }
    bitmap = std::move(out);
    return true;
}

bool DibToBitmap(std::span<const std::uint8_t> dib, gdi::Bitmap& bitmap, BitmapError* error) {
    bitmap.Reset();
    DibLayout l;
    if (!ParseHeader(dib, l, error))
        return false;
    std::uint64_t pixelOffset = 0, tableCount = 0;
    if (!LocatePixels(dib.size(), l, std::nullopt, 0, pixelOffset, tableCount, error))
        return false;
    const PixelColours colours(l, dib.data() + l.tableStart, tableCount);
    const std::uint8_t* pixels = dib.data() + pixelOffset;
    gdi::Bitmap out;
    if (l.compression == kBiRle8 || l.compression == kBiRle4) {
        MemoryBytes check(pixels, dib.data() + dib.size());
        if (!WalkRle<false>(l, colours.pal, check, nullptr, error) || !AllocateImage(l, out, error))
            return false;
        MemoryBytes draw(pixels, dib.data() + dib.size());
        WalkRle<true>(l, colours.pal, draw, &out, error);
    } else {
        if (!AllocateImage(l, out, error))
            return false;
        DecodeRows(l, colours, pixels, 0, l.height, out);
    }
    bitmap = std::move(out);
    return true;
}

}  // namespace zk
