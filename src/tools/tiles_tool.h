// Square tiles of a fill pattern painted while a button is held, without a frame: the left
// button paints the primary fill, the right button the secondary one. It moves, repaints and
// marks the pointer exactly as the grid tiles tool does; only the tile it paints differs.
#pragma once

#include "tools/grid_tiles_tool.h"

namespace zk {

class TilesTool : public GridTilesTool {
  protected:
    void StampTile(gdi::DC& dc, gdi::Point at, int fill) const override;
};

}  // namespace zk
