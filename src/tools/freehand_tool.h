// Freehand strokes while a button is held: black with the left button, white with the right.
#pragma once

#include <vector>

#include "tools/map_tool.h"

namespace zk {

class FreehandTool : public MapTool {
  public:
    gdi::Point SnapPoint(int x, int y) override { return SnapNearest(x, y); }
    void OnLButtonDown(unsigned flags, int x, int y) override;
    void OnRButtonDown(unsigned flags, int x, int y) override;
    void OnLButtonUp(unsigned flags, int x, int y) override;
    void OnRButtonUp(unsigned flags, int x, int y) override;
    void OnMouseMove(unsigned flags, int x, int y) override;
    void CommitToMap(gdi::DC& dc) override;
    void DrawOverlay(gdi::DC& dc, float zoom) override;
    bool HasWorkToCommit() const override { return m_pending != 0 || !m_segments.empty(); }

    int m_primaryButton = 1;

  private:
    struct Segment {
        gdi::Point from;
        gdi::Point to;
        int primary;
    };
    void Begin(int primary, gdi::Point at);
    void InvalidateSegment(gdi::Point from, gdi::Point to);
    static void DrawSegment(gdi::DC& dc, const Segment& s);

    // Every move while a button is held adds its segment here, so that a quick stroke whose
    // moves arrive faster than the paints still reaches the map whole; the next paint commits
    // them all.
    std::vector<Segment> m_segments;
};

}  // namespace zk
