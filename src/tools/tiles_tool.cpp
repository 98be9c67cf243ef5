#include "tools/tiles_tool.h"

#include "doc/pattern_library.h"

namespace zk {

void TilesTool::StampTile(gdi::DC& dc, gdi::Point at, int fill) const {
    if (fill < 0 || fill >= PatternLibrary::kCount)
        return;
    const int s = TileSide();
    // Exactly s x s pixels: the right and bottom edges belong to the next tile. The empty fill
    // and the grid floor are white whatever their library slots hold.
    const gdi::Brush brush = fill == 0 || fill == 8 ? gdi::Brush::Solid(gdi::kWhite)
                                                    : g_patternLibrary.BrushPattern(fill);
    dc.FillRect({at.x, at.y, at.x + s, at.y + s}, brush);
    if (fill == 8)
        DrawGridLines(dc, at, s);
}

}  // namespace zk
