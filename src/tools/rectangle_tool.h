// Rectangles dragged out with either button: filled with the button's fill and bordered in
// black of the line size. A yellow outline follows the pointer while the button is held; the
// rectangle enters the map at the first paint after the release.
#pragma once

#include "tools/shape_tool.h"

namespace zk {

class RectangleTool : public ShapeTool {
  public:
    void OnLButtonDown(unsigned flags, int x, int y) override;
    void OnRButtonDown(unsigned flags, int x, int y) override;
    void OnLButtonUp(unsigned flags, int x, int y) override;
    void OnRButtonUp(unsigned flags, int x, int y) override;
    void OnMouseMove(unsigned flags, int x, int y) override;
    void CommitToMap(gdi::DC& dc) override;
    void DrawOverlay(gdi::DC& dc, float zoom) override;
    // The band is dropped; the release that follows paints nothing.
    void Cancel() override;

    // The box [L, R) x [T, B) spanned by two points, both included, whichever corner comes
    // first. What a gesture commits, shows and repaints all comes from it.
    static gdi::Rect Box(gdi::Point a, gdi::Point b);
    gdi::Rect Box() const { return Box(m_anchor, m_curPoint); }

    // 1 from a press until the next release: the overlay is shown.
    int m_dragging = 0;
    // Where the button went down.
    gdi::Point m_anchor{0, 0};

  protected:
    // Paints the shape of `box` with fill `fill` (a library index); false when it must be tried
    // again at the next paint.
    virtual bool Paint(gdi::DC& dc, const gdi::Rect& box, int fill) const;
    // Draws the yellow mark of `box` on the window.
    virtual void DrawMark(gdi::DC& dc, const gdi::Rect& box, float zoom) const;

  private:
    void Begin(int primary, int x, int y);
    void End();
    void Invalidate() const;
};

}  // namespace zk
