// Writing PNG: libpng writes the file's structure (signature, header, palette, every chunk with
// its checksum); the picture data is filtered and deflated here, with zlib tuned in a way libpng
// offers no setting for.
//
// libpng reports errors by longjmp: as in the reader, the function that calls setjmp does
// nothing else, and what it calls holds no object with a destructor.
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "doc/atomic_file.h"
#include "doc/color_table.h"
#include "doc/dib_format.h"
#include "doc/png_file.h"
#include "gdi/pixel_allocator.h"

namespace zk {

namespace {

using dib::Fail;
using gdi::Color;

// Compressed data per IDAT chunk.
constexpr std::size_t kChunkBytes = 256u << 10;
constexpr png_byte kIdat[5] = "IDAT";
constexpr png_byte kIend[5] = "IEND";
// Every row is stored as its difference from the row above ("Up"): a map's rows mostly repeat
// the one above, and then they are all zeros.
constexpr png_byte kFilterUp = 2;

// Where libpng's output goes: memory grown with realloc, which fails by returning null rather
// than by throwing through libpng.
struct Sink {
    std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t capacity = 0;
    ~Sink() { std::free(data); }
    bool Reserve(std::size_t want) {
        if (want <= capacity)
            return true;
        auto* grown = static_cast<std::uint8_t*>(std::realloc(data, want));
        if (!grown)
            return false;
        data = grown;
        capacity = want;
        return true;
    }
    bool Append(const std::uint8_t* p, std::size_t n) {
        if (n > capacity - size && !Reserve(std::max(size + n, capacity * 2)))
            return false;
        std::memcpy(data + size, p, n);
        size += n;
        return true;
    }
};

// The rows the picture data is made of, and the memory to make them in, taken before writing.
struct Rows {
    const gdi::Bitmap* bitmap = nullptr;
    const ExactPalette* palette = nullptr;     // null: 24-bit RGB
    const std::uint8_t* allIndices = nullptr;  // every pixel's, when there was memory for them
    int depth = 8;                             // bits a pixel of the palette image
    std::size_t bytes = 0;                     // a row's, without its filter byte
    std::uint8_t* indices = nullptr;           // a row's palette indices
    std::uint8_t* current = nullptr;           // a row as stored
    std::uint8_t* above = nullptr;             // the row above it, zeros above the first
    std::uint8_t* filtered = nullptr;          // the filter byte and the differences
    std::uint8_t* chunk = nullptr;             // kChunkBytes of compressed data
};

// Shared by the callbacks and the function that catches libpng's jumps; plain data.
struct Writing {
    png_structp png = nullptr;
    png_infop info = nullptr;
    Sink sink;
    z_stream z{};
    bool deflating = false;
    BitmapErrorCode code = BitmapErrorCode::None;
    char message[160] = {};
};

void SetReason(Writing& w, BitmapErrorCode code, const char* text) {
    if (w.code != BitmapErrorCode::None)
        return;
    w.code = code;
    std::snprintf(w.message, sizeof w.message, "%s", text);
}

[[noreturn]] void OnPngError(png_structp png, png_const_charp text) {
    Writing& w = *static_cast<Writing*>(png_get_error_ptr(png));
    char message[sizeof w.message];
    std::snprintf(message, sizeof message, "cannot make the PNG file: %s", text);
    SetReason(w, BitmapErrorCode::CannotWrite, message);
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void OnPngWrite(png_structp png, png_bytep data, std::size_t n) {
    Writing& w = *static_cast<Writing*>(png_get_io_ptr(png));
    if (!w.sink.Append(data, n)) {
        SetReason(w, BitmapErrorCode::OutOfMemory, "out of memory for the PNG file");
        png_error(png, "out of memory");
    }
}

void OnPngFlush(png_structp) {}

// Packs palette indices `Depth` bits each into bytes, the leftmost pixel in the top bits.
template <int Depth>
void Pack(const std::uint8_t* in, int w, std::uint8_t* out) {
    constexpr int kPerByte = 8 / Depth;
    const int whole = w / kPerByte;
    for (int b = 0; b < whole; ++b, in += kPerByte) {
        unsigned v = 0;
        for (int k = 0; k < kPerByte; ++k)
            v = (v << Depth) | in[k];
        out[b] = static_cast<std::uint8_t>(v);
    }
    if (const int left = w - whole * kPerByte; left > 0) {
        unsigned v = 0;
        for (int k = 0; k < left; ++k)
            v = (v << Depth) | in[k];
        out[whole] = static_cast<std::uint8_t>(v << (Depth * (kPerByte - left)));
    }
}

// Row y as stored, into `row`: packed palette indices, or R, G, B.
void MakeRow(const Rows& r, int y, std::uint8_t* row) {
    const Color* src = r.bitmap->Row(y);
    const int w = r.bitmap->Width();
    if (!r.palette) {
        std::uint8_t* out = row;
        for (int x = 0; x < w; ++x, out += 3) {
            out[0] = static_cast<std::uint8_t>(gdi::GetRValue(src[x]));
            out[1] = static_cast<std::uint8_t>(gdi::GetGValue(src[x]));
            out[2] = static_cast<std::uint8_t>(gdi::GetBValue(src[x]));
        }
        return;
    }
    const std::uint8_t* indices = r.indices;
    if (r.allIndices) {
        indices = r.allIndices + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
        if (r.depth == 8) {
            std::memcpy(row, indices, static_cast<std::size_t>(w));
            return;
        }
    } else if (r.depth == 8) {
        r.palette->IndexRow(src, row, w);
        return;
    } else {
        r.palette->IndexRow(src, r.indices, w);
    }
    switch (r.depth) {
        case 1:
            Pack<1>(indices, w, row);
            break;
        case 2:
            Pack<2>(indices, w, row);
            break;
        default:
            Pack<4>(indices, w, row);
            break;
    }
}

void EmitChunk(Writing& w, const Rows& r, std::size_t n) {
    if (n > 0)
        png_write_chunk(w.png, kIdat, r.chunk, n);
    w.z.next_out = r.chunk;
    w.z.avail_out = static_cast<uInt>(kChunkBytes);
}

// Deflates what `w.z` holds as input; `flush` Z_FINISH ends the stream.
void Deflate(Writing& w, const Rows& r, int flush) {
    while (true) {
        const int result = deflate(&w.z, flush);
        if (result == Z_STREAM_ERROR) {
            SetReason(w, BitmapErrorCode::CannotWrite, "cannot compress the PNG data");
            png_error(w.png, "deflate failed");
        }
        if (w.z.avail_out == 0) {
            EmitChunk(w, r, kChunkBytes);
            continue;
        }
        if (flush == Z_FINISH ? result == Z_STREAM_END : w.z.avail_in == 0)
            return;
    }
}

void WriteAll(Writing& w, const Rows& r) {
    const gdi::Bitmap& bitmap = *r.bitmap;
    const bool palette = r.palette != nullptr;
    png_set_IHDR(w.png, w.info, static_cast<png_uint_32>(bitmap.Width()),
                 static_cast<png_uint_32>(bitmap.Height()), palette ? r.depth : 8,
                 palette ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (palette) {
        png_color entries[256];
        const std::span<const Color> colors = r.palette->Colors();
        for (std::size_t i = 0; i < colors.size(); ++i)
            entries[i] = {static_cast<png_byte>(gdi::GetRValue(colors[i])),
                          static_cast<png_byte>(gdi::GetGValue(colors[i])),
                          static_cast<png_byte>(gdi::GetBValue(colors[i]))};
        png_set_PLTE(w.png, w.info, entries, static_cast<int>(colors.size()));
    }
    png_write_info(w.png, w.info);

    EmitChunk(w, r, 0);
    std::uint8_t* current = r.current;
    std::uint8_t* above = r.above;
    std::uint8_t* const filtered = r.filtered;
    const std::size_t bytes = r.bytes;
    for (int y = 0; y < bitmap.Height(); ++y) {
        MakeRow(r, y, current);
        filtered[0] = kFilterUp;
        for (std::size_t i = 0; i < bytes; ++i)
            filtered[1 + i] = static_cast<std::uint8_t>(current[i] - above[i]);
        std::swap(current, above);
        w.z.next_in = filtered;
        w.z.avail_in = static_cast<uInt>(bytes + 1);
        Deflate(w, r, Z_NO_FLUSH);
    }
    Deflate(w, r, Z_FINISH);
    EmitChunk(w, r, kChunkBytes - w.z.avail_out);
    png_write_chunk(w.png, kIend, nullptr, 0);
}

bool Write(Writing& w, const Rows& r) {
    if (setjmp(png_jmpbuf(w.png)))
        return false;
    WriteAll(w, r);
    return true;
}

// A byte for each pixel, or none when there is no memory for that.
struct IndexBuffer {
    std::uint8_t* data = nullptr;
    std::size_t bytes = 0;
    explicit IndexBuffer(std::size_t n) : bytes(n) {
        try {
            data = static_cast<std::uint8_t*>(gdi::AllocatePixels(n));
        } catch (const std::bad_alloc&) {
            data = nullptr;
        }
    }
    IndexBuffer(const IndexBuffer&) = delete;
    IndexBuffer& operator=(const IndexBuffer&) = delete;
    ~IndexBuffer() {
        if (data)
            gdi::FreePixels(data, bytes);
    }
};

struct Writer {
    std::unique_ptr<Writing> w = std::make_unique<Writing>();
    ~Writer() {
        if (w->deflating)
            deflateEnd(&w->z);
        if (w->png)
            png_destroy_write_struct(&w->png, w->info ? &w->info : nullptr);
    }
};

// The bits a pixel of a palette of `colors` entries takes: the fewest PNG has room for.
int PaletteDepth(std::size_t colors) {
    return colors <= 2 ? 1 : colors <= 4 ? 2 : colors <= 16 ? 4 : 8;
}

// Encodes `bitmap` into `writer`'s sink.
bool Encode(const gdi::Bitmap& bitmap, Writer& writer, BitmapError* error) {
    if (bitmap.IsNull())
        return Fail(error, BitmapErrorCode::EmptyBitmap, "cannot write an empty bitmap");
    const auto outOfMemory = [&] {
        return Fail(error, BitmapErrorCode::OutOfMemory, "out of memory for the PNG file");
    };
    Writing& w = *writer.w;
    Rows r;
    r.bitmap = &bitmap;
    std::optional<ExactPalette> palette;
    std::vector<std::uint8_t> memory;
    // The colours are counted and every pixel's index kept in one pass over the map; without
    // the memory for the indices, each row is indexed again as it is written.
    IndexBuffer all(bitmap.PixelCount());
    try {
        palette = ExactPalette::Of(bitmap, all.data);
        const std::size_t width = static_cast<std::size_t>(bitmap.Width());
        if (palette) {
            r.palette = &*palette;
            r.allIndices = all.data;
            r.depth = PaletteDepth(palette->Colors().size());
            r.bytes = (width * static_cast<std::size_t>(r.depth) + 7) / 8;
        } else {
            r.bytes = 3 * width;
        }
        memory.resize(width + 3 * r.bytes + 1 + kChunkBytes);
    } catch (const std::bad_alloc&) {
        return outOfMemory();
    }
    r.indices = memory.data();
    r.current = r.indices + bitmap.Width();
    r.above = r.current + r.bytes;
    r.filtered = r.above + r.bytes;
    r.chunk = r.filtered + r.bytes + 1;
    std::memset(r.above, 0, r.bytes);

    // Greedy matching as zlib's level 3 does it, with matches followed to their full length and
    // more of each entered into the dictionary: a map's long runs and repeated rows come out as
    // small as at zlib's default level, in a third of its time.
    if (deflateInit2(&w.z, 3, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return outOfMemory();
    w.deflating = true;
    deflateTune(&w.z, 4, 32, 258, 32);

    w.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &w, OnPngError, OnPngWarning);
    if (w.png)
        w.info = png_create_info_struct(w.png);
    if (!w.png || !w.info)
        return outOfMemory();
    png_set_write_fn(w.png, &w, OnPngWrite, OnPngFlush);
    if (!w.sink.Reserve(kChunkBytes))
        return outOfMemory();
    if (!Write(w, r))
        return Fail(error, w.code == BitmapErrorCode::None ? BitmapErrorCode::CannotWrite : w.code,
                    w.message[0] ? w.message : "cannot make the PNG file");
    return true;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> BitmapToPng(const gdi::Bitmap& bitmap,
                                                     BitmapError* error) {
    Writer writer;
    if (!Encode(bitmap, writer, error))
        return std::nullopt;
    try {
        const Sink& sink = writer.w->sink;
        return std::vector<std::uint8_t>(sink.data, sink.data + sink.size);
    } catch (const std::bad_alloc&) {
        Fail(error, BitmapErrorCode::OutOfMemory, "out of memory for the PNG file");
        return std::nullopt;
    }
}

bool WritePngFile(const std::filesystem::path& path, const gdi::Bitmap& bitmap,
                  BitmapError* error) {
    Writer writer;
    if (!Encode(bitmap, writer, error))
        return false;
    std::string why;
    const Sink& sink = writer.w->sink;
    if (!AtomicFile::Replace(path, {sink.data, sink.size}, &why))
        return Fail(error, BitmapErrorCode::CannotWrite, why);
    return true;
}

}  // namespace zk
