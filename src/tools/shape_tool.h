// What the rectangle, ellipse and polygon tools share: the fill their gesture's button chose,
// and the grid floor painted through an off-screen mask.
#pragma once

#include <functional>

#include "gdi/bitmap.h"
#include "tools/map_tool.h"

namespace zk {

class ShapeTool : public MapTool {
  public:
    gdi::Point SnapPoint(int x, int y) override { return SnapNearest(x, y); }

    // 1: the gesture began with the left button (primary fill); 0: with the right (secondary).
    int m_primaryButton = 1;

  protected:
    // The fill index of the gesture: `fill` or `secfill` by its button.
    int Fill() const;
    // The solid black pen of the line size; size 0 draws one pixel wide.
    static gdi::Pen LinePen();

    // Paints the grid floor over the shape whose box is `box`: `paint(dc, brush, pen)` paints the
    // shape (in map coordinates) with that brush and pen. The shape turns black on the map, white
    // with black lines on every grid column and row of the box on an off-screen image of the
    // box's part on the map, and the image is ORed onto the map: outside the shape the map keeps
    // its pixels. False, with the map untouched, when the image cannot be made.
    bool PaintGridFloor(
        gdi::DC& map, const gdi::Rect& box,
        const std::function<void(gdi::DC&, const gdi::Brush&, const gdi::Pen&)>& paint) const;
    // Makes the off-screen image of the grid floor; an empty bitmap when there is no memory.
    virtual gdi::Bitmap MakeFloorImage(int w, int h, int bitsPerPixel) const;
};

}  // namespace zk
