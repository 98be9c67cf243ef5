#include "ui/cell_grid.h"

#include "tools/map_tool.h"

namespace zk {

std::optional<gdi::Point> CellLayout::CellAt(int px, int py) const {
    const int x = (px - origin.x) / cellSize;
    const int y = (py - origin.y) / cellSize;
    if (x < 0 || x >= cells || y < 0 || y >= cells)
        return std::nullopt;
    return gdi::Point{x, y};
}

void CellLayout::Draw(gdi::DC& dc, gdi::Bitmap* bitmap) const {
    const gdi::Rect r = Rect();
    if (bitmap) {
        const gdi::DC src(bitmap);
        dc.StretchBlt(r.left, r.top, r.Width(), r.Height(), src, 0, 0, cells, cells,
                      gdi::Rop::SrcCopy);
    }
    const gdi::Pen old = dc.SelectPen(gdi::Pen::Solid(1, gdi::kBlack));
    for (int i = 0; i <= cells; ++i) {
        const int x = r.left + i * cellSize;
        dc.MoveTo(x, r.top);
        dc.LineTo(x, r.bottom);
        const int y = r.top + i * cellSize;
        dc.MoveTo(r.left, y);
        dc.LineTo(r.right, y);
    }
    dc.SelectPen(old);
}

std::optional<int> DragValue(unsigned flags) {
    if (flags == MK_LBUTTON)
        return 1;
    if (flags == MK_RBUTTON)
        return 0;
    return std::nullopt;
}

}  // namespace zk
