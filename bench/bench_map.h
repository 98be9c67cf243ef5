// The map the file figures are measured on, shared by the bitmap and the PNG benchmarks.
#pragma once

#include "gdi/bitmap.h"

namespace zk_bench {

constexpr int kMapSide = 4096;

// What a drawn map looks like, kMapSide pixels a side: white, a black grid, and areas filled
// with patterns in colours of the 8-bit file's table (hatching, checks, dots, greys, a few cube
// colours).
gdi::Bitmap MakeMap();

}  // namespace zk_bench
