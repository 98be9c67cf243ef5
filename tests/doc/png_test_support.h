// Helpers for the PNG tests: files of every kind written by libpng's own writer from samples as
// the file stores them, and the chunks of a file, to cut or damage one on purpose.
#pragma once

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "doc/bitmap_file_test_support.h"
#include "gdi/types.h"

namespace zk_test {

// A picture as a PNG file stores it: `samples` holds, row by row, each pixel's channels (the
// palette index for a palette image) in the file's depth.
struct PngPicture {
    int width = 0, height = 0;
    int colorType = PNG_COLOR_TYPE_RGB;
    int depth = 8;
    bool interlaced = false;
    std::vector<std::uint16_t> samples;
    std::vector<gdi::Color> palette;          // for a palette image
    std::vector<std::uint8_t> alphas;         // tRNS of a palette image
    std::optional<png_color_16> transparent;  // tRNS of a grey or RGB image

    int Channels() const {
        switch (colorType) {
            case PNG_COLOR_TYPE_GRAY:
            case PNG_COLOR_TYPE_PALETTE:
                return 1;
            case PNG_COLOR_TYPE_GRAY_ALPHA:
                return 2;
            case PNG_COLOR_TYPE_RGB:
                return 3;
            default:
                return 4;
        }
    }
    std::uint16_t Sample(int x, int y, int channel) const {
        return samples.at((static_cast<std::size_t>(y) * width + x) * Channels() + channel);
    }
};

namespace png_detail {

// Rows packed as the file stores them: sub-byte samples leftmost in the top bits, 16-bit ones
// big-endian.
inline std::vector<Bytes> PackRows(const PngPicture& p) {
    std::vector<Bytes> rows;
    const int perRow = p.width * p.Channels();
    for (int y = 0; y < p.height; ++y) {
        Bytes row((static_cast<std::size_t>(perRow) * p.depth + 7) / 8, 0);
        for (int i = 0; i < perRow; ++i) {
            const std::uint16_t v = p.samples.at(static_cast<std::size_t>(y) * perRow + i);
            if (p.depth == 16) {
                row[2 * i] = static_cast<std::uint8_t>(v >> 8);
                row[2 * i + 1] = static_cast<std::uint8_t>(v);
            } else {
                const int bit = i * p.depth;
                row[bit / 8] |= static_cast<std::uint8_t>(v << (8 - p.depth - bit % 8));
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

inline void Append(png_structp png, png_bytep data, std::size_t n) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}

// libpng's jumps land here; `pointers`, `palette` and `out` belong to the caller.
inline bool Write(const PngPicture& p, png_bytepp pointers, png_colorp palette, Bytes& out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, Append, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(p.width), static_cast<png_uint_32>(p.height),
                 p.depth, p.colorType, p.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (p.colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_PLTE(png, info, palette, static_cast<int>(p.palette.size()));
    if (!p.alphas.empty())
        png_set_tRNS(png, info, p.alphas.data(), static_cast<int>(p.alphas.size()), nullptr);
    if (p.transparent) {
        png_color_16 t = *p.transparent;
        png_set_tRNS(png, info, nullptr, 0, &t);
    }
    png_write_info(png, info);
    png_write_image(png, pointers);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace png_detail

// The picture as libpng writes it; empty when libpng refuses it.
inline Bytes WritePng(const PngPicture& p) {
    std::vector<Bytes> rows = png_detail::PackRows(p);
    std::vector<png_bytep> pointers;
    for (Bytes& row : rows)
        pointers.push_back(row.data());
    std::vector<png_color> palette;
    for (gdi::Color c : p.palette)
        palette.push_back({static_cast<png_byte>(gdi::GetRValue(c)),
                           static_cast<png_byte>(gdi::GetGValue(c)),
                           static_cast<png_byte>(gdi::GetBValue(c))});
    Bytes out;
    if (!png_detail::Write(p, pointers.data(), palette.data(), out))
        return {};
    return out;
}

// A chunk of a file: where it starts (its length field), its type and its data's length.
struct PngChunk {
    std::size_t at = 0;
    std::string type;
    std::uint32_t length = 0;
    std::size_t DataAt() const { return at + 8; }
    std::size_t End() const { return at + 12 + length; }
};

inline std::uint32_t Be32(const Bytes& b, std::size_t at) {
    return (std::uint32_t{b.at(at)} << 24) | (std::uint32_t{b.at(at + 1)} << 16) |
           (std::uint32_t{b.at(at + 2)} << 8) | b.at(at + 3);
}
inline void PutBe32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.at(at + i) = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

inline std::vector<PngChunk> Chunks(const Bytes& file) {
    std::vector<PngChunk> chunks;
    for (std::size_t at = 8; at + 12 <= file.size();) {
        PngChunk c;
        c.at = at;
        c.length = Be32(file, at);
        c.type.assign(file.begin() + static_cast<long>(at) + 4,
                      file.begin() + static_cast<long>(at) + 8);
        chunks.push_back(c);
        at = c.End();
    }
    return chunks;
}

// The checksum of the chunk at `c` made right again after its type or data changed.
inline void FixCrc(Bytes& file, const PngChunk& c) {
    const uLong crc = crc32(0, file.data() + c.at + 4, c.length + 4);
    PutBe32(file, c.DataAt() + c.length, static_cast<std::uint32_t>(crc));
}

// A small RGB file of libpng's whose header is made to claim `width` x `height`: what a
// decompression bomb or a lying header looks like.
inline Bytes HeaderOnlyPng(std::uint32_t width, std::uint32_t height) {
    PngPicture p;
    p.width = p.height = 1;
    p.samples = {1, 2, 3};
    Bytes file = WritePng(p);
    const PngChunk ihdr = Chunks(file).at(0);
    PutBe32(file, ihdr.DataAt(), width);
    PutBe32(file, ihdr.DataAt() + 4, height);
    FixCrc(file, ihdr);
    return file;
}

}  // namespace zk_test
