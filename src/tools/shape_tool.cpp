#include "tools/shape_tool.h"

#include <algorithm>
#include <new>

#include "doc/pattern_library.h"
#include "tools/tool_settings.h"

namespace zk {

int ShapeTool::Fill() const {
    return m_primaryButton ? ToolSettings::fill : ToolSettings::secfill;
}

gdi::Pen ShapeTool::LinePen() {
    return gdi::Pen::Solid(std::clamp(ToolSettings::line, 0, 3), gdi::kBlack);
}

gdi::Bitmap ShapeTool::MakeFloorImage(int w, int h, int bitsPerPixel) const {
    try {
        return gdi::Bitmap(w, h, bitsPerPixel, gdi::kBlack);
    } catch (const std::bad_alloc&) {
        return {};
    }
}

bool ShapeTool::PaintGridFloor(
    gdi::DC& map, const gdi::Rect& box,
    const std::function<void(gdi::DC&, const gdi::Brush&, const gdi::Pen&)>& paint) const {
    const gdi::Bitmap* target = map.GetBitmap();
    if (!target)
        return true;
    // Only the part of the box on the map can change, so the image need be no larger.
    const gdi::Point org = map.GetViewportOrg();
    const gdi::Rect area = box.Intersect(target->Bounds().Offset(-org.x, -org.y));
    if (area.IsEmpty())
        return true;
    // Made before the map is touched: without it the shape must not be left black.
    gdi::Bitmap image = MakeFloorImage(area.Width(), area.Height(), target->BitsPerPixel());
    if (image.IsNull())
        return false;

    const gdi::Pen black = gdi::Pen::Solid(1, gdi::kBlack);
    paint(map, gdi::Brush::Solid(gdi::kBlack), black);

    // The image in map coordinates: black, the shape white, the grid lines black.
    gdi::DC off(&image);
    off.SetViewportOrg({-area.left, -area.top});
    paint(off, gdi::Brush::Solid(gdi::kWhite), gdi::Pen::Solid(1, gdi::kWhite));
    // Every grid column and row of the box, an edge at 0 too: the shape's own outline is not
    // there to stand in for it.
    DrawGridLines(off, box, EdgeAtZero::Line, area);
    map.BitBlt(area.left, area.top, area.Width(), area.Height(), off, area.left, area.top,
               gdi::Rop::SrcPaint);
    return true;
}

}  // namespace zk
