// Square tiles of a fill pattern stamped while a button is held, each framed in black on the grid
// lines around it: the left button stamps the primary fill, the right button the secondary one.
// A yellow square of the tile's size follows the pointer.
#pragma once

#include <vector>

#include "tools/map_tool.h"

namespace zk {

class GridTilesTool : public MapTool {
  public:
    // SnapPoint is the base SnapDown: a tile starts at the corner of the grid cell under the
    // pointer.
    void OnLButtonDown(unsigned flags, int x, int y) override;
    void OnRButtonDown(unsigned flags, int x, int y) override;
    void OnLButtonUp(unsigned flags, int x, int y) override;
    void OnRButtonUp(unsigned flags, int x, int y) override;
    void OnMouseMove(unsigned flags, int x, int y) override;
    void CommitToMap(gdi::DC& dc) override;
    void DrawOverlay(gdi::DC& dc, float zoom) override;
    bool HasWorkToCommit() const override { return m_pending != 0 || !m_stamps.empty(); }

    // The tile size the last overlay was drawn with, so that the repaint area still covers it
    // after the size was made smaller.
    int m_lastOverlaySize = 0;
    // 1 while the left button (primary fill) stamps, 0 for the right button (secondary fill).
    int m_primaryButton = 0;

    // The side of a tile in map pixels: one to four grid cells.
    static int TileSide();
    // The tile whose top-left corner is at `at`: what a stamp paints (its frame lies on the
    // grid lines at its far edges, one pixel past it), the square marks and the repaints cover.
    static gdi::Rect TileSquare(gdi::Point at, int side) {
        return {at.x, at.y, at.x + side, at.y + side};
    }

  protected:
    // Paints one tile with its top-left corner at `at`, with brush index `fill`; an index
    // outside 0..15 paints nothing. The tiles tool paints its tiles without the frame.
    virtual void StampTile(gdi::DC& dc, gdi::Point at, int fill) const;

  private:
    struct Stamp {
        gdi::Point at;
        int primary;
    };
    void Begin(int primary);
    void Invalidate();
    // Queues the stamps of a drag from `from` to `to` (`from` has its tile already).
    void StampPath(gdi::Point from, gdi::Point to);

    // Every position the pointer reaches while a button is held, in order, and the positions on
    // the straight path between two of them: moves can come faster than paints, and come
    // further apart the faster the hand, yet each cell passed over must get its tile. The next
    // paint stamps them all.
    std::vector<Stamp> m_stamps;
};

}  // namespace zk
