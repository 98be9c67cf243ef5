#include "doc/bitmap_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zk {

namespace {

using gdi::Color;

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiJpeg = 4;
constexpr std::uint32_t kBiPng = 5;
constexpr std::uint32_t kBiAlphaBitfields = 6;

constexpr std::uint64_t kFileHeaderSize = 14;
constexpr std::uint64_t kInfoHeaderSize = 40;
constexpr std::uint64_t kCoreHeaderSize = 12;
// The largest image within the size limits needs about 1 GiB of pixel data (2^28 pixels of 4
// bytes); twice that leaves room for run-length data and trailing junk, and keeps a stray huge
// file from being read into memory.
constexpr std::uint64_t kMaxFileSize = std::uint64_t{1} << 31;

bool Fail(BitmapError* error, BitmapErrorCode code, std::string message) {
    if (error) {
        error->code = code;
        error->message = std::move(message);
    }
    return false;
}

std::string Hex(std::uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%X", v);
    return buf;
}

std::uint16_t Get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t Get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::int32_t GetS32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(Get32(p));
}

void Put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

// ---------------------------------------------------------------------------------------------
// The fixed 8-bit colour table and the reduction to it.

std::array<Color, 256> MakeDefaultTable() {
    std::array<Color, 256> t{};
    constexpr Color kLow[10] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080,
                                0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0, 0xA6CAF0};
    constexpr Color kHigh[10] = {0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00,
                                 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (int i = 0; i < 10; ++i) {
        t[i] = kLow[i];
        t[246 + i] = kHigh[i];
    }
    for (int i = 10; i < 246; ++i)
        t[i] = gdi::RGB((i & 7) * 32, ((i >> 3) & 7) * 32, (i >> 6) * 64);
    return t;
}

const std::array<Color, 256>& DefaultTable() {
    static const std::array<Color, 256> table = MakeDefaultTable();
    return table;
}

// Index of the 5-5-5 colour that a 0x00RRGGBB pixel reduces to: the reduction first keeps only
// the top five bits of each channel, so 32K answers cover every colour exactly.
inline std::uint32_t Index555(Color c) {
    return ((c >> 9) & 0x7C00) | ((c >> 6) & 0x03E0) | ((c >> 3) & 0x001F);
}

std::unique_ptr<std::uint8_t[]> MakeReductionTable() {
    const auto& table = DefaultTable();
    auto lut = std::make_unique<std::uint8_t[]>(32768);
    for (std::uint32_t i = 0; i < 32768; ++i) {
        // The channel taken as (c & 0xF8) | 4: the middle of the eight values sharing its top bits.
        const int r = static_cast<int>(((i >> 10) & 31) << 3) | 4;
        const int g = static_cast<int>(((i >> 5) & 31) << 3) | 4;
        const int b = static_cast<int>((i & 31) << 3) | 4;
        int best = 0;
        int bestDist = 1 << 30;
        for (int k = 0; k < 256; ++k) {
            const int dr = r - gdi::GetRValue(table[k]);
            const int dg = g - gdi::GetGValue(table[k]);
            const int db = b - gdi::GetBValue(table[k]);
            const int d = dr * dr + dg * dg + db * db;
            if (d < bestDist) {  // strictly less: ties go to the lower index
                bestDist = d;
                best = k;
            }
        }
        lut[i] = static_cast<std::uint8_t>(best);
    }
    return lut;
}

const std::uint8_t* ReductionTable() {
    static const std::unique_ptr<std::uint8_t[]> lut = MakeReductionTable();
    return lut.get();
}

// ---------------------------------------------------------------------------------------------
// Writing.

// One row of display pixels reduced to table indices. The 5-5-5 indices are computed eight at a
// time where SSE2 is there; only the table look-ups stay one by one.
void ReduceRow(const Color* src, std::uint8_t* dst, int w, const std::uint8_t* lut) {
    int x = 0;
#if defined(__SSE2__)
    const __m128i maskR = _mm_set1_epi32(0x7C00);
    const __m128i maskG = _mm_set1_epi32(0x03E0);
    const __m128i maskB = _mm_set1_epi32(0x001F);
    const auto index555 = [&](__m128i v) {
        return _mm_or_si128(_mm_or_si128(_mm_and_si128(_mm_srli_epi32(v, 9), maskR),
                                         _mm_and_si128(_mm_srli_epi32(v, 6), maskG)),
                            _mm_and_si128(_mm_srli_epi32(v, 3), maskB));
    };
    alignas(16) std::uint32_t idx[8];
    for (; x + 8 <= w; x += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x + 4));
        _mm_store_si128(reinterpret_cast<__m128i*>(idx), index555(a));
        _mm_store_si128(reinterpret_cast<__m128i*>(idx + 4), index555(b));
        for (int k = 0; k < 8; ++k)
            dst[x + k] = lut[idx[k]];
    }
#endif
    for (; x < w; ++x)
        dst[x] = lut[Index555(src[x])];
}

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
    if (s.bpp == 8) {
        const auto& colors = DefaultTable();
        for (int i = 0; i < 256; ++i)
            Put32(table + 4 * i, colors[i]);  // B, G, R, 0
    } else {
        Put32(table, gdi::kBlack);
        Put32(table + 4, gdi::kWhite);
    }

    std::uint8_t* rows = table + 4 * std::uint64_t{s.colors};
    const std::size_t stride = static_cast<std::size_t>(s.stride);
    if (s.bpp == 8) {
        const std::uint8_t* lut = ReductionTable();
        const std::size_t pad = stride - static_cast<std::size_t>(w);
        for (int y = 0; y < h; ++y) {
            const Color* src = bitmap.Row(h - 1 - y);
            std::uint8_t* dst = rows + static_cast<std::size_t>(y) * stride;
            ReduceRow(src, dst, w, lut);
            std::memset(dst + w, 0, pad);
        }
    } else {
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

// ---------------------------------------------------------------------------------------------
// Reading.

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

// Reads and checks the header of the packed DIB; on success `l` says where everything is,
// relative to the start of the block.
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
    if (width > kMaxBitmapSide || height > kMaxBitmapSide || width * height > kMaxBitmapPixels)
        return Fail(error, BitmapErrorCode::TooLarge,
                    "image too large: " + std::to_string(width) + " x " + std::to_string(height) +
                        " (limit " + std::to_string(kMaxBitmapSide) + " pixels a side, " +
                        std::to_string(kMaxBitmapPixels) + " pixels)");
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

// Where the pixel data starts and how many table entries are there to read. `offsetHint` is the
// file header's pixel offset, made relative to the block; `base` turns block offsets back into
// file offsets for messages.
bool LocatePixels(std::span<const std::uint8_t> dib, const DibLayout& l,
                  std::optional<std::uint64_t> offsetHint, std::uint64_t base,
                  std::uint64_t& pixelOffset, std::uint64_t& tableCount, BitmapError* error) {
    const std::uint64_t size = dib.size();
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

// Above this many bytes of decoded pixels the image cannot stay in the caches while it is
// written, so its rows are better stored past them.
constexpr std::uint64_t kStreamingBytes = std::uint64_t{16} << 20;

// An 8-bit row written with non-temporal stores: the cache lines are not read before being
// overwritten, which saves a third of the memory traffic of a large image.
void DecodeRow8Streaming(const std::uint8_t* src, Color* dst, int w, const Color* pal) {
    int x = 0;
#if defined(__SSE2__)
    for (; x < w && (reinterpret_cast<std::uintptr_t>(dst + x) & 15) != 0; ++x)
        dst[x] = pal[src[x]];
    for (; x + 4 <= w; x += 4) {
        const __m128i v =
            _mm_set_epi32(static_cast<int>(pal[src[x + 3]]), static_cast<int>(pal[src[x + 2]]),
                          static_cast<int>(pal[src[x + 1]]), static_cast<int>(pal[src[x]]));
        _mm_stream_si128(reinterpret_cast<__m128i*>(dst + x), v);
    }
#endif
    for (; x < w; ++x)
        dst[x] = pal[src[x]];
}

// Walks an RLE8 or RLE4 stream, drawing into `out` (all black on entry) when Draw is set.
// Drawing starts at the bottom left; nothing is ever written outside the image: runs past the
// right edge are clipped, and the stream ends once it has moved above the top row. The walk
// without drawing checks the stream before the image is allocated, so a cut-off stream costs no
// memory; both walks take the same path through the stream.
template <bool Draw>
bool WalkRle(const DibLayout& l, const Color* pal, const std::uint8_t* p, const std::uint8_t* end,
             gdi::Bitmap* out, BitmapError* error) {
    const bool rle4 = l.compression == kBiRle4;
    const int w = l.width;
    const int h = l.height;
    int x = 0;
    int y = 0;  // rows from the bottom
    const auto truncated = [&] {
        return Fail(error, BitmapErrorCode::Truncated,
                    "file is truncated (run-length data ends before its end-of-bitmap code)");
    };
    while (true) {
        if (end - p < 2)
            return truncated();
        const unsigned n = p[0];
        const unsigned c = p[1];
        p += 2;
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
            if (end - p < 2)
                return truncated();
            x = std::min(x + p[0], w);
            y += p[1];
            p += 2;
            if (y >= h)
                return true;
        } else {  // literal run, padded to a 16-bit boundary
            const std::ptrdiff_t bytes = rle4 ? (c + 1) / 2 : c;
            if (end - p < bytes)
                return truncated();
            if constexpr (Draw) {
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
            p += std::min<std::ptrdiff_t>((bytes + 1) & ~std::ptrdiff_t{1}, end - p);
        }
    }
}

// Decodes the packed DIB `dib` into `bitmap` (already emptied).
bool DecodeDib(std::span<const std::uint8_t> dib, std::optional<std::uint64_t> offsetHint,
               std::uint64_t base, gdi::Bitmap& bitmap, BitmapError* error) {
    DibLayout l;
    if (!ParseHeader(dib, l, error))
        return false;
    std::uint64_t pixelOffset = 0, tableCount = 0;
    if (!LocatePixels(dib, l, offsetHint, base, pixelOffset, tableCount, error))
        return false;

    // Every index reads a table of 256 entries, black past the file's own, so that a pixel value
    // past the table can neither read out of bounds nor cost a check per pixel.
    Color pal[256] = {};
    if (l.bpp <= 8) {
        const std::uint64_t n = std::min<std::uint64_t>(tableCount, 256);
        const std::uint8_t* t = dib.data() + l.tableStart;
        for (std::uint64_t i = 0; i < n; ++i, t += l.entrySize)
            pal[i] = gdi::RGB(t[2], t[1], t[0]);
    }
    std::optional<MaskDecoder> masks;
    if (l.useMasks)
        masks.emplace(l.masks);

    const std::uint8_t* pixels = dib.data() + pixelOffset;
    const std::uint8_t* end = dib.data() + dib.size();
    const bool rle = l.compression == kBiRle8 || l.compression == kBiRle4;
    if (rle && !WalkRle<false>(l, pal, pixels, end, nullptr, error))
        return false;

    gdi::Bitmap out;
    try {
        out = gdi::Bitmap(l.width, l.height, 32, gdi::kBlack);
    } catch (const std::bad_alloc&) {
        return Fail(error, BitmapErrorCode::OutOfMemory,
                    "out of memory for a " + std::to_string(l.width) + " x " +
                        std::to_string(l.height) + " image");
    }

    if (rle) {
        WalkRle<true>(l, pal, pixels, end, &out, error);
    } else {
        const std::size_t stride = static_cast<std::size_t>(l.stride);
        if (l.bpp == 8 && out.PixelCount() * sizeof(Color) >= kStreamingBytes) {
            for (int r = 0; r < l.height; ++r)
                DecodeRow8Streaming(pixels + r * stride, out.Row(l.topDown ? r : l.height - 1 - r),
                                    l.width, pal);
#if defined(__SSE2__)
            _mm_sfence();  // the streamed stores are seen before the bitmap is handed over
#endif
        } else {
            for (int r = 0; r < l.height; ++r)
                DecodeRow(l, pal, masks ? &*masks : nullptr, pixels + r * stride,
                          out.Row(l.topDown ? r : l.height - 1 - r));
        }
    }
    bitmap = std::move(out);
    return true;
}

std::string ErrnoText(int err) {
    return std::strerror(err);
}

struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0)
            ::close(fd);
    }
};

bool WriteAll(int fd, const std::uint8_t* p, std::size_t n) {
    while (n > 0) {
        const ssize_t done = ::write(fd, p, std::min<std::size_t>(n, std::size_t{1} << 30));
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (done == 0) {
            errno = EIO;
            return false;
        }
        p += done;
        n -= static_cast<std::size_t>(done);
    }
    return true;
}

}  // namespace

// -------------------------------------------------------------------------------------------------

bool ReadBitmapFile(const std::filesystem::path& path, gdi::Bitmap& bitmap, BitmapError* error) {
    bitmap.Reset();
    Fd file;
    // Non-blocking so that a FIFO given as a path cannot hang the open; regular files ignore it.
    file.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file.fd < 0)
        return Fail(error, BitmapErrorCode::CannotOpen, "cannot open file: " + ErrnoText(errno));
    struct stat st {};
    if (::fstat(file.fd, &st) != 0)
        return Fail(error, BitmapErrorCode::CannotOpen, "cannot open file: " + ErrnoText(errno));
    if (S_ISDIR(st.st_mode))
        return Fail(error, BitmapErrorCode::CannotOpen, "cannot open file: " + ErrnoText(EISDIR));
    if (!S_ISREG(st.st_mode))
        return Fail(error, BitmapErrorCode::CannotOpen, "cannot open file: not a regular file");
    const std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
    if (size > kMaxFileSize)
        return Fail(error, BitmapErrorCode::TooLarge,
                    "file too large: " + std::to_string(size) + " bytes");

    std::unique_ptr<std::uint8_t[]> data;
    try {
        data = std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return Fail(error, BitmapErrorCode::OutOfMemory,
                    "out of memory for a file of " + std::to_string(size) + " bytes");
    }
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(file.fd, data.get() + got,
                                 std::min<std::size_t>(size - got, std::size_t{1} << 30));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Fail(error, BitmapErrorCode::CannotOpen,
                        "cannot read file: " + ErrnoText(errno));
        }
        if (n == 0)
            break;  // shrank while we read: judged by what arrived
        got += static_cast<std::size_t>(n);
    }
    if (got < 2 || data[0] != 'B' || data[1] != 'M')
        return Fail(error, BitmapErrorCode::NotBitmap, "not a bitmap file (no BM signature)");
    if (got < kFileHeaderSize)
        return Fail(error, BitmapErrorCode::Truncated, "file is truncated (file header)");

    const std::uint32_t offBits = Get32(data.get() + 10);
    std::optional<std::uint64_t> hint;
    if (offBits >= kFileHeaderSize)
        hint = offBits - kFileHeaderSize;
    return DecodeDib({data.get() + kFileHeaderSize, got - kFileHeaderSize}, hint, kFileHeaderSize,
                     bitmap, error);
}

bool DibToBitmap(std::span<const std::uint8_t> dib, gdi::Bitmap& bitmap, BitmapError* error) {
    bitmap.Reset();
    return DecodeDib(dib, std::nullopt, 0, bitmap, error);
}

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

    // Replace what a symbolic link points at, not the link.
    std::filesystem::path target = path;
    std::error_code ec;
    if (std::filesystem::is_symlink(path, ec)) {
        const auto resolved = std::filesystem::weakly_canonical(path, ec);
        if (!ec)
            target = resolved;
    }

    // The new file keeps the permissions of the one it replaces; a new one gets the usual ones.
    mode_t mode;
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        // The new file takes the old one's place by a rename, which the folder allows whatever
        // the file's own permissions say: a file the user may not write, or has marked
        // read-only, is refused here as an editor refuses it, and stays as it is.
        if ((old.st_mode & 0222) == 0)
            return Fail(error, BitmapErrorCode::CannotWrite,
                        "cannot write file: the file is read-only");
        if (::access(target.c_str(), W_OK) != 0)
            return Fail(error, BitmapErrorCode::CannotWrite,
                        "cannot write file: " + ErrnoText(errno));
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    std::string tmp = target.native() + ".tmpXXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0)
        return Fail(error, BitmapErrorCode::CannotWrite, "cannot write file: " + ErrnoText(errno));
    const auto abandon = [&](int err) {
        ::unlink(tmp.c_str());
        return Fail(error, BitmapErrorCode::CannotWrite, "cannot write file: " + ErrnoText(err));
    };
    if (::fchmod(fd, mode) != 0 || !WriteAll(fd, buf.get(), static_cast<std::size_t>(fileSize)) ||
        ::fsync(fd) != 0) {
        const int err = errno;
        ::close(fd);
        return abandon(err);
    }
    if (::close(fd) != 0)
        return abandon(errno);
    if (::rename(tmp.c_str(), target.c_str()) != 0)
        return abandon(errno);

    // Make the rename itself durable; the file is in place whether or not this succeeds.
    const std::filesystem::path dir = target.has_parent_path() ? target.parent_path() : ".";
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

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

// -------------------------------------------------------------------------------------------------

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
