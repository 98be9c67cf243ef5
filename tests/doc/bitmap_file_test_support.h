// Helpers for the bitmap file tests: whole-file I/O and a little builder that assembles .bmp files
// field by field, so each test states the bytes it feeds the reader.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "gdi/types.h"

namespace zk_test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ReadFileBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::filesystem::path& p, const Bytes& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline std::uint32_t Le32(const Bytes& b, std::size_t at) {
    return static_cast<std::uint32_t>(b.at(at)) | (static_cast<std::uint32_t>(b.at(at + 1)) << 8) |
           (static_cast<std::uint32_t>(b.at(at + 2)) << 16) |
           (static_cast<std::uint32_t>(b.at(at + 3)) << 24);
}
inline std::uint16_t Le16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}

// Little-endian byte appender.
class ByteWriter {
  public:
    ByteWriter& U8(unsigned v) {
        m_bytes.push_back(static_cast<std::uint8_t>(v));
        return *this;
    }
    ByteWriter& U16(unsigned v) { return U8(v & 0xFF).U8((v >> 8) & 0xFF); }
    ByteWriter& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    ByteWriter& S32(std::int32_t v) { return U32(static_cast<std::uint32_t>(v)); }
    ByteWriter& Append(const Bytes& b) {
        m_bytes.insert(m_bytes.end(), b.begin(), b.end());
        return *this;
    }
    ByteWriter& Zeros(std::size_t n) {
        m_bytes.insert(m_bytes.end(), n, 0);
        return *this;
    }
    std::size_t Size() const { return m_bytes.size(); }
    const Bytes& Get() const { return m_bytes; }

  private:
    Bytes m_bytes;
};

// The fields of a .bmp file. Header sizes 12 (core: 16-bit sizes, 3-byte table entries), 16 and 64
// (OS/2 version 2), 40, 52, 56, 108 and 124. Masks go after a 40-byte header and inside longer
// ones; the pixel bytes are given as they lie in the file.
struct BmpFields {
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t planes = 1;
    std::uint16_t bpp = 8;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::uint32_t colorsUsed = 0;
    std::vector<gdi::Color> palette;  // written as given, whatever colorsUsed says
    std::vector<std::uint32_t> masks;
    std::size_t gap = 0;                   // bytes of junk between the table and the pixels
    std::optional<std::uint32_t> offBits;  // the pixel-offset field; computed when absent
    Bytes pixels;

    // Chained setters, so a test names just the fields it cares about.
    BmpFields& HeaderSize(std::uint32_t v) { return headerSize = v, *this; }
    BmpFields& Size(std::int32_t w, std::int32_t h) { return width = w, height = h, *this; }
    BmpFields& Planes(std::uint16_t v) { return planes = v, *this; }
    BmpFields& Bpp(std::uint16_t v) { return bpp = v, *this; }
    BmpFields& Compression(std::uint32_t v) { return compression = v, *this; }
    BmpFields& SizeImage(std::uint32_t v) { return sizeImage = v, *this; }
    BmpFields& ColorsUsed(std::uint32_t v) { return colorsUsed = v, *this; }
    BmpFields& Palette(std::vector<gdi::Color> v) { return palette = std::move(v), *this; }
    BmpFields& Masks(std::vector<std::uint32_t> v) { return masks = std::move(v), *this; }
    BmpFields& Gap(std::size_t v) { return gap = v, *this; }
    BmpFields& OffBits(std::uint32_t v) { return offBits = v, *this; }
    BmpFields& Pixels(Bytes v) { return pixels = std::move(v), *this; }
};

inline Bytes BuildBmp(const BmpFields& s) {
    ByteWriter dib;
    dib.U32(s.headerSize);
    if (s.headerSize == 12) {
        dib.U16(static_cast<std::uint16_t>(s.width)).U16(static_cast<std::uint16_t>(s.height));
        dib.U16(s.planes).U16(s.bpp);
    } else {
        dib.S32(s.width).S32(s.height).U16(s.planes).U16(s.bpp);
        if (s.headerSize >= 40)
            dib.U32(s.compression).U32(s.sizeImage).U32(2835).U32(2835).U32(s.colorsUsed).U32(0);
        // Longer Windows headers hold the masks; OS/2's 64-byte one has other fields there.
        if (s.headerSize > 40 && s.headerSize != 64)
            for (std::size_t i = 0; i < s.masks.size() && dib.Size() < s.headerSize; ++i)
                dib.U32(s.masks[i]);
        while (dib.Size() < s.headerSize)
            dib.U8(0);
        if (s.headerSize == 40)
            for (std::uint32_t m : s.masks)
                dib.U32(m);
    }
    for (gdi::Color c : s.palette) {
        dib.U8(gdi::GetBValue(c)).U8(gdi::GetGValue(c)).U8(gdi::GetRValue(c));
        if (s.headerSize != 12)
            dib.U8(0);
    }
    dib.Zeros(s.gap);
    const std::uint32_t offBits = s.offBits.value_or(static_cast<std::uint32_t>(14 + dib.Size()));
    dib.Append(s.pixels);

    ByteWriter file;
    file.U8('B').U8('M').U32(static_cast<std::uint32_t>(14 + dib.Size())).U16(0).U16(0);
    file.U32(offBits).Append(dib.Get());
    return file.Get();
}

}  // namespace zk_test
