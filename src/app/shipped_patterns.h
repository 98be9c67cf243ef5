// The pattern set shipped with the program, as pictures and as the 32 files of a pattern folder.
#pragma once

#include <string>

#include "gdi/bitmap.h"

namespace zk {

// The shipped brush i (8 x 8, display format) or symbol i (16 x 16, monochrome); a null bitmap
// for an index outside 0..15.
gdi::Bitmap ShippedBrush(int i);
gdi::Bitmap ShippedSymbol(int i);

// Writes the shipped set as brush<i>.bmp and symbol<i>.bmp into `folder`, which must exist and is
// used as a plain prefix (so it ends with a separator). A file already there is kept unless
// `replace`. False when a file could not be written; the others are written all the same.
bool WriteShippedPatterns(const std::string& folder, bool replace);

}  // namespace zk
