#include "tools/ellipse_tool.h"

#include <algorithm>

#include "doc/pattern_library.h"
#include "tools/tool_settings.h"

namespace zk {

namespace {

// Line size 0 means no outline at all, unlike the rectangle's.
gdi::Pen OutlinePen() {
    if (ToolSettings::line == 0)
        return gdi::Pen::Null();
    return gdi::Pen::Solid(std::min(ToolSettings::line, 3), gdi::kBlack);
}

}  // namespace

bool EllipseTool::Paint(gdi::DC& dc, const gdi::Rect& box, int fill) const {
    const int L = box.left, T = box.top, R = box.right, B = box.bottom;
    const gdi::Point oldOrg = dc.SetBrushOrg({0, 0});
    const gdi::Pen oldPen = dc.SelectPen(OutlinePen());
    const gdi::Brush oldBrush = dc.SelectBrush(gdi::Brush::Null());
    bool done = true;
    if (IsPatternFill(fill)) {
        dc.SelectBrush(g_patternLibrary.BrushPattern(fill));
        dc.Ellipse(L, T, R, B);
    } else {
        if (fill == kGridFloor) {
            // The ellipse, rim included, becomes the floor; the outline goes on top.
            done = PaintGridFloor(dc, box,
                                  [&box](gdi::DC& d, const gdi::Brush& brush, const gdi::Pen& pen) {
                                      const gdi::Pen p = d.SelectPen(pen);
                                      const gdi::Brush b = d.SelectBrush(brush);
                                      d.Ellipse(box.left, box.top, box.right, box.bottom);
                                      d.SelectBrush(b);
                                      d.SelectPen(p);
                                  });
        }
        if (done)
            dc.Arc(L, T, R, B, L, T, L, T);
    }
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
    dc.SetBrushOrg(oldOrg);
    return done;
}

void EllipseTool::DrawMark(gdi::DC& dc, const gdi::Rect& box, float zoom) const {
    // The committed ellipse's own box, so that at zoom 1 the mark lies on its outline.
    const gdi::Pen old = dc.SelectPen(gdi::Pen::Solid(1, kMarkColor));
    const int l = ToWindow(box.left, zoom), t = ToWindow(box.top, zoom);
    dc.Arc(l, t, ToWindow(box.right, zoom), ToWindow(box.bottom, zoom), l, t, l, t);
    dc.SelectPen(old);
}

}  // namespace zk
