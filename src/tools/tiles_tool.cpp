#include "tools/tiles_tool.h"

#include "doc/pattern_library.h"

namespace zk {

void TilesTool::StampTile(gdi::DC& dc, gdi::Point at, int fill) const {
    if (!IsLibraryIndex(fill))
        return;
    const gdi::Rect tile = TileSquare(at, TileSide());
    // Exactly the tile: the right and bottom edges belong to the next tile. The empty fill
    // and the grid floor are white whatever their library slots hold.
    const gdi::Brush brush =
        IsPatternFill(fill) ? g_patternLibrary.BrushPattern(fill) : gdi::Brush::Solid(gdi::kWhite);
    dc.FillRect(tile, brush);
    if (fill == kGridFloor)
        DrawGridLines(dc, tile, EdgeAtZero::NoLine, Grow(tile, 1));
}

}  // namespace zk
