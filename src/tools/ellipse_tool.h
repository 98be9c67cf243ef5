// Ellipses dragged out as their bounding box, handled with the mouse exactly as rectangles:
// filled with the button's fill and outlined in black of the line size (no outline at size 0).
// The grid floor is clipped to the ellipse through an off-screen mask. A yellow ellipse follows
// the pointer while the button is held.
#pragma once

#include "tools/rectangle_tool.h"

namespace zk {

class EllipseTool : public RectangleTool {
  protected:
    bool Paint(gdi::DC& dc, const gdi::Rect& box, int fill) const override;
    void DrawMark(gdi::DC& dc, const gdi::Rect& box, float zoom) const override;
};

}  // namespace zk
