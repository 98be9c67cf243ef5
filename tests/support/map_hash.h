// A map's size and pixels in one number, so that a child process can say which map it had and
// the test can tell a restored map from every other it printed.
#pragma once

#include <cstdint>
#include <cstring>

#include "gdi/bitmap.h"

namespace zk_test {

// FNV-1a over the size and the pixels' bytes.
inline std::uint64_t MapHash(const gdi::Bitmap& map) {
    std::uint64_t h = 14695981039346656037ULL;
    const auto add = [&h](const void* data, std::size_t bytes) {
        const auto* p = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < bytes; ++i) {
            h ^= p[i];
            h *= 1099511628211ULL;
        }
    };
    const int size[2] = {map.Width(), map.Height()};
    add(size, sizeof size);
    add(map.Data(), map.PixelCount() * sizeof(gdi::Color));
    return h;
}

}  // namespace zk_test
