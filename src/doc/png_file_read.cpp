// Reading PNG: libpng parses and inflates; the header is checked before the picture's memory is
// taken, and palette and grey rows (what maps are) are turned into map pixels by table lookups of
// our own, every other kind by libpng's transformations to 8-bit BGRA laid on white.
//
// libpng reports errors by longjmp. Each function that calls setjmp does nothing else, and
// everything it calls that libpng may jump out of holds no object with a destructor: the
// memory they need is taken beforehand, by callers that no jump unwinds.
#include <png.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "doc/dib_format.h"
#include "doc/png_file.h"
#include "doc/read_file.h"

namespace zk {

namespace {

using dib::Fail;
using gdi::Color;

constexpr std::uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
// Deflate shrinks data at most 1032-fold (a 258-byte match in two bits), so a file holds at least
// this fraction of the rows it claims; the rest of it is headers and checksums.
constexpr std::uint64_t kBestDeflateRatio = 1032;
// What ancillary chunks (text, profiles) may ask libpng for at most, and how many it keeps.
constexpr png_alloc_size_t kChunkMemoryMax = 8u << 20;
constexpr png_uint_32 kChunkCountMax = 256;
constexpr std::size_t kReadBlock = 64u << 10;

// The bytes libpng reads: a file in blocks, or memory.
struct Source {
    const ReadFile* file = nullptr;
    const std::uint8_t* memory = nullptr;
    std::uint64_t size = 0;  // of the file or the memory
    std::uint64_t at = 0;    // the offset of block[0] in the source
    std::size_t filled = 0;  // bytes in block
    std::size_t used = 0;    // of them handed to libpng
    std::uint8_t block[kReadBlock];
};

// What the callbacks and the functions that catch libpng's jumps share. Plain data: a jump may
// leave it half-filled, and its owner cleans up.
struct Reading {
    png_structp png = nullptr;
    png_infop info = nullptr;
    Source source;
    BitmapErrorCode code = BitmapErrorCode::None;
    char message[240] = {};
    int readErrno = 0;
};

void SetReason(Reading& r, BitmapErrorCode code, const char* text) {
    if (r.code != BitmapErrorCode::None)
        return;  // the first reason is the real one
    r.code = code;
    std::snprintf(r.message, sizeof r.message, "%s", text);
}

[[noreturn]] void OnPngError(png_structp png, png_const_charp text) {
    Reading& r = *static_cast<Reading*>(png_get_error_ptr(png));
    char message[sizeof r.message];
    std::snprintf(message, sizeof message, "corrupt PNG file: %s", text);
    const bool memory = std::strstr(text, "memory") != nullptr;
    SetReason(r, memory ? BitmapErrorCode::OutOfMemory : BitmapErrorCode::BadData,
              memory ? "out of memory for the PNG file" : message);
    png_longjmp(png, 1);
}

// Warnings are about what is dropped (a damaged ancillary chunk, a colour profile); the map is
// read all the same, and nothing is printed.
void OnPngWarning(png_structp, png_const_charp) {}

void OnPngRead(png_structp png, png_bytep out, std::size_t n) {
    Reading& r = *static_cast<Reading*>(png_get_io_ptr(png));
    Source& s = r.source;
    while (n > 0) {
        if (s.used == s.filled) {
            s.at += s.filled;
            s.used = s.filled = 0;
            if (s.at >= s.size) {
                char text[96];
                std::snprintf(text, sizeof text, "file is truncated: it ends after %llu bytes",
                              static_cast<unsigned long long>(s.size));
                SetReason(r, BitmapErrorCode::Truncated, text);
                png_error(png, text);
            }
            const std::uint64_t want = std::min<std::uint64_t>(kReadBlock, s.size - s.at);
            if (s.memory) {
                std::memcpy(s.block, s.memory + s.at, want);
                s.filled = want;
            } else {
                const std::int64_t got = s.file->ReadAt(s.block, want, s.at);
                if (got <= 0) {
                    r.readErrno = got < 0 ? errno : 0;
                    SetReason(
                        r, got < 0 ? BitmapErrorCode::CannotOpen : BitmapErrorCode::Truncated,
                        got < 0 ? "cannot read file" : "file is truncated (it shrank while read)");
                    png_error(png, "read failed");
                }
                s.filled = static_cast<std::size_t>(got);
            }
        }
        const std::size_t take = std::min(n, s.filled - s.used);
        std::memcpy(out, s.block + s.used, take);
        s.used += take;
        out += take;
        n -= take;
    }
}

struct Header {
    png_uint_32 width = 0, height = 0;
    int depth = 0, colorType = 0, interlace = 0;
};

bool ReadHeader(Reading& r, Header& h) {
    if (setjmp(png_jmpbuf(r.png)))
        return false;
    png_read_info(r.png, r.info);
    png_get_IHDR(r.png, r.info, &h.width, &h.height, &h.depth, &h.colorType, &h.interlace, nullptr,
                 nullptr);
    return true;
}

// How the rows become pixels.
struct Plan {
    int width = 0, height = 0;
    // Palette and grey rows of up to 8 bits, not interlaced: one lookup per byte of the row, in
    // `byteColors` (pixelsPerByte colours for each byte value).
    bool lookup = false;
    int depth = 0;
    int pixelsPerByte = 0;
    const Color* byteColors = nullptr;
    png_bytep rawRow = nullptr;
    // The rest: libpng's transformations to 8-bit BGRA; interlaced images through `rows`.
    bool interlaced = false;
    png_bytepp rows = nullptr;
};

// What the colour of each pixel value is, for the palette or grey rows of `depth` bits.
void PixelColors(Reading& r, const Header& h, Color (&colors)[256]) {
    std::fill(std::begin(colors), std::end(colors), gdi::kBlack);  // values past the palette
    png_bytep alpha = nullptr;
    int alphas = 0;
    png_color_16p transparent = nullptr;
    if (png_get_valid(r.png, r.info, PNG_INFO_tRNS))
        png_get_tRNS(r.png, r.info, &alpha, &alphas, &transparent);
    if (h.colorType == PNG_COLOR_TYPE_PALETTE) {
        png_colorp palette = nullptr;
        int entries = 0;
        png_get_PLTE(r.png, r.info, &palette, &entries);
        for (int i = 0; i < entries && i < 256; ++i) {
            const int a = i < alphas && alpha ? alpha[i] : 255;
            colors[i] = gdi::OnWhite(palette[i].red, palette[i].green, palette[i].blue, a);
        }
        return;
    }
    const int top = (1 << h.depth) - 1;
    for (int v = 0; v <= top; ++v) {
        const int grey = v * 255 / top;
        colors[v] = gdi::RGB(grey, grey, grey);
    }
    if (transparent && transparent->gray <= top)
        colors[transparent->gray] = gdi::kWhite;
}

template <int PerByte>
void LookUp(const png_const_bytep in, int width, const Color* byteColors, Color* out) {
    const int whole = width / PerByte;
    for (int i = 0; i < whole; ++i)
        std::memcpy(out + i * PerByte, byteColors + in[i] * PerByte, sizeof(Color) * PerByte);
    for (int x = whole * PerByte; x < width; ++x)
        out[x] = byteColors[in[whole] * PerByte + x - whole * PerByte];
}

void LookUpRow(const Plan& p, Color* out) {
    switch (p.pixelsPerByte) {
        case 1:
            return LookUp<1>(p.rawRow, p.width, p.byteColors, out);
        case 2:
            return LookUp<2>(p.rawRow, p.width, p.byteColors, out);
        case 4:
            return LookUp<4>(p.rawRow, p.width, p.byteColors, out);
        default:
            return LookUp<8>(p.rawRow, p.width, p.byteColors, out);
    }
}

// BGRA bytes, as libpng leaves them, become map pixels: the alpha laid on white.
void LayOnWhite(Color* row, int width) {
    auto* bytes = reinterpret_cast<const std::uint8_t*>(row);
    for (int x = 0; x < width; ++x, bytes += 4) {
        const int a = bytes[3];
        row[x] = a == 255 ? gdi::RGB(bytes[2], bytes[1], bytes[0])
                          : gdi::OnWhite(bytes[2], bytes[1], bytes[0], a);
    }
}

void Transform(Reading& r, const Header& h) {
    png_set_expand(r.png);  // palette to RGB, grey to 8 bits, a transparent colour to alpha
    png_set_scale_16(r.png);
    png_set_gray_to_rgb(r.png);
    png_set_bgr(r.png);
    if (!(h.colorType & PNG_COLOR_MASK_ALPHA) && !png_get_valid(r.png, r.info, PNG_INFO_tRNS))
        png_set_filler(r.png, 0xFF, PNG_FILLER_AFTER);
    if (h.interlace != PNG_INTERLACE_NONE)
        png_set_interlace_handling(r.png);
    png_read_update_info(r.png, r.info);
}

// Reads the rows into `out`, rows of `p.width` pixels; libpng may jump out of it.
bool ReadRows(Reading& r, const Header& h, const Plan& p, gdi::Bitmap& out) {
    if (p.lookup) {
        for (int y = 0; y < p.height; ++y) {
            png_read_row(r.png, p.rawRow, nullptr);
            LookUpRow(p, out.Row(y));
        }
    } else {
        Transform(r, h);
        if (png_get_rowbytes(r.png, r.info) != 4 * static_cast<std::size_t>(p.width)) {
            SetReason(r, BitmapErrorCode::Unsupported, "unsupported PNG pixel layout");
            return false;
        }
        if (p.interlaced) {
            png_read_image(r.png, p.rows);
            for (int y = 0; y < p.height; ++y)
                LayOnWhite(out.Row(y), p.width);
        } else {
            for (int y = 0; y < p.height; ++y) {
                png_read_row(r.png, reinterpret_cast<png_bytep>(out.Row(y)), nullptr);
                LayOnWhite(out.Row(y), p.width);
            }
        }
    }
    // The rest of the file up to its end chunk: checksums, and a file cut short is refused.
    png_read_end(r.png, nullptr);
    return true;
}

bool ReadPixels(Reading& r, const Header& h, const Plan& p, gdi::Bitmap& out) {
    if (setjmp(png_jmpbuf(r.png)))
        return false;
    return ReadRows(r, h, p, out);
}

// Owns the libpng structures of one read.
struct Reader {
    std::unique_ptr<Reading> r = std::make_unique<Reading>();
    ~Reader() {
        if (r->png)
            png_destroy_read_struct(&r->png, r->info ? &r->info : nullptr, nullptr);
    }
};

bool Failed(const Reading& r, BitmapError* error) {
    std::string text = r.message[0] ? r.message : "corrupt PNG file";
    if (r.code == BitmapErrorCode::CannotOpen)
        text += std::string(": ") + std::strerror(r.readErrno);
    return Fail(error, r.code == BitmapErrorCode::None ? BitmapErrorCode::BadData : r.code, text);
}

// Reads from `file`, or else from `memory`, of `size` bytes.
bool Read(const ReadFile* file, const std::uint8_t* memory, std::uint64_t size, gdi::Bitmap& bitmap,
          BitmapError* error) {
    Reader reader;
    Reading& r = *reader.r;
    Source& source = r.source;
    source.file = file;
    source.memory = memory;
    source.size = size;

    std::uint8_t signature[8];
    if (source.size >= 8) {
        if (source.memory) {
            std::memcpy(signature, source.memory, 8);
        } else {
            const std::int64_t got = source.file->ReadAt(signature, 8, 0);
            if (got < 0)
                return source.file->CannotRead(error);
            if (got < 8)
                return ReadFile::Shrank(error);
        }
    }
    if (source.size < 8 || !IsPngSignature(signature))
        return Fail(error, BitmapErrorCode::NotBitmap, "not a PNG file (no PNG signature)");
    source.at = 8;

    r.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &r, OnPngError, OnPngWarning);
    if (r.png)
        r.info = png_create_info_struct(r.png);
    if (!r.png || !r.info)
        return Fail(error, BitmapErrorCode::OutOfMemory, "out of memory for the PNG reader");
    png_set_read_fn(r.png, &r, OnPngRead);
    png_set_sig_bytes(r.png, 8);
    // Our own limits decide, so that a refusal names the size; chunks beside the picture are
    // held to a few megabytes.
    png_set_user_limits(r.png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_set_chunk_malloc_max(r.png, kChunkMemoryMax);
    png_set_chunk_cache_max(r.png, kChunkCountMax);
    // Every chunk beside the header, the palette, the transparency and the data changes nothing
    // the map shows (colour spaces, text, times): skipped, its checksum still checked.
    png_set_keep_unknown_chunks(r.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_compression_buffer_size(r.png, kReadBlock);  // the compressed data read at a time

    Header h;
    if (!ReadHeader(r, h))
        return Failed(r, error);
    if (!WithinBitmapLimits(h.width, h.height))
        return Fail(error, BitmapErrorCode::TooLarge, TooLargeText(h.width, h.height));
    const int channels = png_get_channels(r.png, r.info);
    const std::uint64_t rowBits = std::uint64_t{h.width} * static_cast<std::uint64_t>(channels) *
                                  static_cast<std::uint64_t>(h.depth);
    const std::uint64_t least = rowBits / 8 * h.height / kBestDeflateRatio;
    if (source.size < least)
        return Fail(error, BitmapErrorCode::Truncated,
                    "file is truncated: a " + std::to_string(h.width) + " x " +
                        std::to_string(h.height) + " picture needs at least " +
                        std::to_string(least) + " bytes, the file has " +
                        std::to_string(source.size));

    Plan p;
    p.width = static_cast<int>(h.width);
    p.height = static_cast<int>(h.height);
    p.interlaced = h.interlace != PNG_INTERLACE_NONE;
    p.lookup = !p.interlaced && h.depth <= 8 &&
               (h.colorType == PNG_COLOR_TYPE_PALETTE || h.colorType == PNG_COLOR_TYPE_GRAY);
    gdi::Bitmap out;
    std::vector<Color> byteColors;
    std::vector<png_byte> rawRow;
    std::vector<png_bytep> rows;
    try {
        out = gdi::Bitmap(p.width, p.height, 32, gdi::kWhite);
        if (p.lookup) {
            Color colors[256];
            PixelColors(r, h, colors);
            p.depth = h.depth;
            p.pixelsPerByte = 8 / h.depth;
            byteColors.resize(256 * static_cast<std::size_t>(p.pixelsPerByte));
            const unsigned mask = (1u << h.depth) - 1;
            for (unsigned b = 0; b < 256; ++b)
                for (int i = 0; i < p.pixelsPerByte; ++i)  // the leftmost pixel in the top bits
                    byteColors[b * p.pixelsPerByte + i] =
                        colors[(b >> (8 - h.depth * (i + 1))) & mask];
            p.byteColors = byteColors.data();
            rawRow.resize(png_get_rowbytes(r.png, r.info));
            p.rawRow = rawRow.data();
        } else if (p.interlaced) {
            rows.resize(h.height);
            for (int y = 0; y < p.height; ++y)
                rows[y] = reinterpret_cast<png_bytep>(out.Row(y));
            p.rows = rows.data();
        }
    } catch (const std::bad_alloc&) {
        return Fail(error, BitmapErrorCode::OutOfMemory,
                    "out of memory for a " + std::to_string(h.width) + " x " +
                        std::to_string(h.height) + " image");
    }
    if (!ReadPixels(r, h, p, out))
        return Failed(r, error);
    bitmap = std::move(out);
    return true;
}

}  // namespace

bool IsPngSignature(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= sizeof kSignature &&
           std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin());
}

bool ReadPngFile(const std::filesystem::path& path, gdi::Bitmap& bitmap, BitmapError* error) {
    bitmap.Reset();
    ReadFile file;
    if (!file.Open(path, error))
        return false;
    return Read(&file, nullptr, file.size, bitmap, error);
}

bool PngToBitmap(std::span<const std::uint8_t> png, gdi::Bitmap& bitmap, BitmapError* error) {
    bitmap.Reset();
    return Read(nullptr, png.data(), png.size(), bitmap, error);
}

}  // namespace zk
