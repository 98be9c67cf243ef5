#include "tools/tiles_tool.h"

#include "doc/pattern_library.h"

namespace zk {

void TilesTool::StampTile(gdi::DC& dc, gdi::Point at, int fill) const {
    if (fill < 0 || fill >= PatternLibrary::kCount)
        return;
    const gdi::Rect tile = TileSquare(at, TileSide());
    // Exactly the tile: the right and bottom edges belong to the next tile. The empty fill
    // and the grid floor are white whatever their library slots hold.
    const gdi::Brush brush = fill == kEmptyFill || fill == kGridFloor
                                 ? gdi::Brush::Solid(gdi::kWhite)
                                 : g_patternLibrary.BrushPattern(fill);
    dc.FillRect(tile, brush);
    if (fill == kGridFloor)
        DrawGridLines(dc, at, tile.Width());
}

}  // namespace zk
