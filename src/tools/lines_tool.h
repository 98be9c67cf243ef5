// One straight line per gesture, from the press to the release: black with the left button,
// white with the right, as wide as the line size. A yellow rubber band shows it while the button
// is held; the line enters the map at the first paint after the release.
#pragma once

#include <vector>

#include "tools/map_tool.h"

namespace zk {

class LinesTool : public MapTool {
  public:
    // Both ends lie on grid intersections when snapping is on.
    gdi::Point SnapPoint(int x, int y) override { return SnapNearest(x, y); }
    void OnLButtonDown(unsigned flags, int x, int y) override;
    void OnRButtonDown(unsigned flags, int x, int y) override;
    void OnLButtonUp(unsigned flags, int x, int y) override;
    void OnRButtonUp(unsigned flags, int x, int y) override;
    void OnMouseMove(unsigned flags, int x, int y) override;
    void CommitToMap(gdi::DC& dc) override;
    void DrawOverlay(gdi::DC& dc, float zoom) override;
    bool HasWorkToCommit() const override { return !m_lines.empty(); }
    // The band is dropped, and the release that follows draws no line.
    void Cancel() override;
    void Forget() override;

    // 1 from a press until the next release: the start is set and the rubber band shown.
    int m_dragging = 0;
    // The start of the line: where the pointer was at the press.
    gdi::Point m_anchor{0, 0};
    // 1 when the line was begun with the left button (black), 0 with the right (white).
    int m_primaryButton = 1;
    // Escape ended this gesture: its release draws nothing.
    bool m_cancelled = false;

  private:
    struct Line {
        gdi::Point from;
        gdi::Point to;
        int primary;
    };
    void Begin(int primary);
    void End(int x, int y);
    void Invalidate();
    // The line the gesture stands at: what the release queues, the band shows and the repaint
    // covers.
    Line Current() const { return {m_anchor, m_curPoint, m_primaryButton}; }
    // The map pixels a line can change with the widest pen.
    static gdi::Rect LineBox(const Line& l);

    // Lines finished since the last paint. Each keeps the ends it had at its release, so a
    // move that comes before the paint cannot drag the end along, and two quick lines both land.
    std::vector<Line> m_lines;
};

}  // namespace zk
