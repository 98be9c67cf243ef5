// Polygons placed vertex by vertex: the first click's button chooses the fill, left clicks add
// vertices, a left click within 4 pixels of the first vertex closes the polygon, a right click
// takes back the last vertex and a right double-click abandons it. The closed polygon is filled
// by the winding rule and outlined in black of the line size; until then a yellow polyline runs
// through the vertices to the pointer.
#pragma once

#include <vector>

#include "gdi/region.h"
#include "tools/shape_tool.h"

namespace zk {

class PolygonTool : public ShapeTool {
  public:
    // A click this close to the first vertex in both x and y (after snapping) closes the
    // polygon.
    static constexpr int kCloseTolerance = 4;

    void OnRButtonDblClk(unsigned flags, int x, int y) override;
    void OnLButtonDown(unsigned flags, int x, int y) override;
    void OnRButtonDown(unsigned flags, int x, int y) override;
    void OnLButtonUp(unsigned flags, int x, int y) override;
    void OnRButtonUp(unsigned flags, int x, int y) override;
    void OnMouseMove(unsigned flags, int x, int y) override;
    void CommitToMap(gdi::DC& dc) override;
    void DrawOverlay(gdi::DC& dc, float zoom) override;
    // An unclosed polygon's vertices are forgotten; a closed one waiting for its paint is
    // finished work and stays.
    void Cancel() override;
    void Forget() override;

    // The vertices in click order; empty while no polygon is being built. The commit, the
    // overlay and the repaints all take their points from here.
    std::vector<gdi::Point> m_vertices;

  private:
    void AddVertex(gdi::Point p);
    void RemoveLastVertex();
    void ClearVertices();
    void Invalidate() const;
    // Paints the closed polygon; false when it must be tried again at the next paint.
    bool Paint(gdi::DC& dc, int fill) const;
    void StrokeOutline(gdi::DC& dc, const gdi::Pen& pen) const;
};

}  // namespace zk
