// Shared set-up for the tests of the two tiles tools: the real view with a pattern library whose
// brushes the test chooses, put back as it was afterwards.
#pragma once

#include <array>

#include "doc/pattern_library.h"
#include "view_harness.h"

namespace zk_test {

// Every pixel of a different colour, so that a pattern shifted by any amount shows.
inline gdi::Bitmap DistinctPattern(int w, int h) {
    gdi::Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, gdi::RGB(20 + 25 * x, 20 + 25 * y, 99));
    return b;
}

inline gdi::Bitmap SolidPattern(gdi::Color c) {
    return gdi::Bitmap(8, 8, 32, c);
}

struct TileHarness : ViewHarness {
    explicit TileHarness(int kind) {
        saved = zk::g_patternLibrary.m_brushes;
        Select(kind);
    }
    ~TileHarness() { zk::g_patternLibrary.m_brushes = saved; }

    void SetBrush(int i, const gdi::Bitmap& b) { zk::g_patternLibrary.m_brushes[i] = b; }

    std::array<gdi::Bitmap, zk::PatternLibrary::kCount> saved;
};

}  // namespace zk_test
