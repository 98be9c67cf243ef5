// The interface every drawing tool implements, and the two grid-snapping rules.
#pragma once

#include "gdi/dc.h"
#include "gdi/pen.h"
#include "gdi/types.h"
#include "tools/map_window.h"

namespace zk {

// Key-state flags passed with every mouse operation (the values the platform uses).
enum MouseFlags : unsigned {
    MK_LBUTTON = 0x0001,
    MK_RBUTTON = 0x0002,
    MK_SHIFT = 0x0004,
    MK_CONTROL = 0x0008,
    MK_MBUTTON = 0x0010,
    MK_XBUTTON1 = 0x0020,
    MK_XBUTTON2 = 0x0040,
};

// The colour of every tool's marks on the window.
constexpr gdi::Color kMarkColor = gdi::RGB(255, 255, 0);

// The pointer's cross: four yellow arms 3 to 8 window pixels from the centre of the map pixel
// `p` (each arm leaves out its end pixel, so the centre stays clear).
void DrawPointerCross(gdi::DC& dc, float zoom, gdi::Point p);
// The map rectangle that holds the pointer cross at `p` drawn at `zoom`, for repaints.
gdi::Rect PointerCrossBox(gdi::Point p, float zoom);

// How far past a shape's own box the widest pen (3 pixels) paints: its caps and bands reach one
// map pixel out.
constexpr int kPenReach = 1;
// `r` grown by n map pixels on every side.
constexpr gdi::Rect Grow(const gdi::Rect& r, int n) {
    return {r.left - n, r.top - n, r.right + n, r.bottom + n};
}
// `r` grown so that marks drawn on its edges at `zoom` lie inside the repaint it asks for: the
// view turns map edges into window pixels by truncation, which at zooms below 1 can leave out a
// mark's last window pixel.
gdi::Rect GrowForMarks(const gdi::Rect& r, float zoom);
// The closed outline of the box with corners `from` and `to` (window points) in `pen`, as one
// path that starts at `from` and runs along its row first, or along its column first: that
// decides where a dashed pen's pattern starts and which way it runs.
enum class FirstEdge { Row, Column };
void DrawBoxMark(gdi::DC& dc, const gdi::Pen& pen, gdi::Point from, gdi::Point to, FirstEdge first);

// Grid snapping. Both divide by ToolSettings::GridStep() truncating toward zero, so negative
// coordinates move toward zero.
gdi::Point SnapDown(int x, int y);     // down to the grid line at or before the point
gdi::Point SnapNearest(int x, int y);  // to the nearest grid line; a half rounds up

// Whether a grid floor's edge at 0 gets a line of its own. Without, the first column is
// g * ((left - 1) / g + 1) by truncating division, as the rectangle and tile floors have always
// drawn it; with, it is g * (left / g).
enum class EdgeAtZero { NoLine, Line };
// The grid floor's lines: black, one pixel, on every grid column x with first <= x <= right
// (from top to bottom) and every grid row alike (from left to right), skipping those that
// cannot reach `visible`.
void DrawGridLines(gdi::DC& dc, const gdi::Rect& box, EdgeAtZero edge, const gdi::Rect& visible);

// A drawing tool. Mouse operations only record state and ask for repaints through
// g_pMapView->InvalidateMapRect; the map changes only in CommitToMap, which the view calls at the
// start of every paint with a DC holding the map bitmap (map pixels). DrawOverlay then draws the
// tool's marks on the window (logical coordinates = map coordinates x zoom), never into the map.
// Points given to the operations are map points, already snapped when the grid is on.
class MapTool {
  public:
    MapTool() = default;
    virtual ~MapTool() = default;
    MapTool(const MapTool&) = delete;
    MapTool& operator=(const MapTool&) = delete;

    virtual void OnRButtonDblClk(unsigned flags, int x, int y);
    virtual gdi::Point SnapPoint(int x, int y);
    virtual void OnLButtonUp(unsigned flags, int x, int y);
    virtual void OnLButtonDown(unsigned flags, int x, int y);
    virtual void OnRButtonUp(unsigned flags, int x, int y);
    virtual void OnRButtonDown(unsigned flags, int x, int y);
    // Remembers the point: m_prevPoint becomes the old m_curPoint.
    virtual void OnMouseMove(unsigned flags, int x, int y);
    virtual void CommitToMap(gdi::DC& dc);
    virtual void DrawOverlay(gdi::DC& dc, float zoom);

    // True when the next CommitToMap will draw into the map.
    virtual bool HasWorkToCommit() const { return m_pending != 0; }
    // True when the map the screen shows, with the tool's work, is other than the map the user
    // last had, so the document is marked modified. A selection that is lifted, or dropped where
    // it was lifted, changes only what the map holds beneath it, never the picture.
    virtual bool WillChangeMap() const { return HasWorkToCommit(); }
    // Escape: unfinished work (a rubber band, an unclosed polygon, a text following the
    // pointer) is forgotten without touching the map.
    virtual void Cancel() {}
    // A new map replaces the one this tool worked on: nothing of its gestures may reach the new
    // one.
    virtual void Forget() {
        Cancel();
        m_pending = 0;
    }

    // A tool that has never seen the pointer starts from the map's origin.
    gdi::Point m_prevPoint{0, 0};
    gdi::Point m_curPoint{0, 0};
    int m_pending = 0;
};

// What the tools need of the map view, without knowing it is a window.
class MapViewInterface {
  public:
    // Asks for the window area that shows the map rectangle [left, right) x [top, bottom) to be
    // repainted (with the tool's commit and overlay).
    virtual void InvalidateMapRect(int left, int top, int right, int bottom) = 0;
    void InvalidateMapRect(const gdi::Rect& r) {
        InvalidateMapRect(r.left, r.top, r.right, r.bottom);
    }
    // Asks for the whole view to be repainted.
    virtual void InvalidateAll() = 0;

  protected:
    ~MapViewInterface() = default;
};

// The one map view, set when the view is first updated. Never null while tools run: until a
// view exists it points at a view that repaints nothing.
extern MapViewInterface* g_pMapView;
// The view that repaints nothing, for g_pMapView while no view exists.
MapViewInterface* NoMapView();

}  // namespace zk
