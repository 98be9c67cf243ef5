// What the reader, the writer and the DIB helpers share about the bytes of a bitmap file:
// little-endian fields, header sizes, compression codes, and how a failure is reported.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "doc/bitmap_file.h"

namespace zk::dib {

inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiRle8 = 1;
inline constexpr std::uint32_t kBiRle4 = 2;
inline constexpr std::uint32_t kBiBitfields = 3;
inline constexpr std::uint32_t kBiJpeg = 4;
inline constexpr std::uint32_t kBiPng = 5;
inline constexpr std::uint32_t kBiAlphaBitfields = 6;

inline constexpr std::uint64_t kFileHeaderSize = 14;
inline constexpr std::uint64_t kInfoHeaderSize = 40;
inline constexpr std::uint64_t kCoreHeaderSize = 12;
// The longest header read (124 bytes) and the longest masks that may follow a 40-byte one.
inline constexpr std::uint64_t kMaxHeaderSize = 124;
inline constexpr std::uint64_t kMaxMaskBytes = 16;

inline bool Fail(BitmapError* error, BitmapErrorCode code, std::string message) {
    if (error) {
        error->code = code;
        error->message = std::move(message);
    }
    return false;
}

inline std::uint16_t Get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t Get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::int32_t GetS32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(Get32(p));
}

inline void Put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void Put32(std::uint8_t* p, std::uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

}  // namespace zk::dib
