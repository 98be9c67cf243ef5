// A drawing context: the state that drawing operations read, and the operations themselves.
#pragma once

#include <optional>

#include "gdi/bitmap.h"
#include "gdi/brush.h"
#include "gdi/pen.h"
#include "gdi/region.h"
#include "gdi/types.h"

namespace gdi {

enum class Rop { SrcCopy, SrcAnd, SrcPaint };
enum class BkMode { Transparent = 1, Opaque = 2 };
enum class StretchMode { BlackOnWhite = 1, ColorOnColor = 3 };

// A DC draws into the bitmap selected into it; with no bitmap selected every operation does
// nothing. Coordinates given to operations are logical; device = logical + viewport origin. The
// brush origin and the clip rectangle are in device coordinates. Pixels outside the bitmap or
// the clip rectangle are never touched.
//
// Pixel rules (which pixels each operation sets) are stated at each operation. Colours written to
// a monochrome bitmap are reduced to black or white as Bitmap::Reduce does.
//
// Selected objects are held by value; each Select returns the previous one so that call sites can
// select it back.
class DC {
public:
    DC() = default;
    explicit DC(Bitmap* bitmap) : m_bitmap(bitmap) {}

    Bitmap* SelectBitmap(Bitmap* bitmap);
    Bitmap* GetBitmap() const { return m_bitmap; }
    Pen SelectPen(const Pen& pen);
    Brush SelectBrush(const Brush& brush);
    const Pen& GetPen() const { return m_pen; }
    const Brush& GetBrush() const { return m_brush; }

    Point SetBrushOrg(Point org);
    Point GetBrushOrg() const { return m_brushOrg; }
    Color SetTextColor(Color c);
    Color GetTextColor() const { return m_textColor; }
    Color SetBkColor(Color c);
    Color GetBkColor() const { return m_bkColor; }
    BkMode SetBkMode(BkMode mode);
    BkMode GetBkMode() const { return m_bkMode; }
    StretchMode SetStretchBltMode(StretchMode mode);
    StretchMode GetStretchBltMode() const { return m_stretchMode; }

    // Logical-to-device offset (a scroll position is set as its negative).
    Point SetViewportOrg(Point org);
    Point GetViewportOrg() const { return m_viewportOrg; }
    // Limits all drawing to a device rectangle; nullopt removes the limit.
    void SetClipRect(std::optional<Rect> clip);
    std::optional<Rect> GetClipRect() const { return m_clip; }

    // Lines leave out their end pixel; see the pen rules in the drawing notes.
    Point MoveTo(int x, int y);
    Point GetCurrentPosition() const { return m_pos; }
    void LineTo(int x, int y);
    // Lines from the current position through each point; the current position ends on the last.
    // A dashed pattern runs on across the vertices.
    void PolylineTo(const Point* points, int count);

    // Outline with the pen and interior with the brush; see the rectangle rules.
    void Rectangle(int left, int top, int right, int bottom);
    // Fills [left, right) x [top, bottom) with `brush` (the selected brush is not used or changed).
    void FillRect(const Rect& r, const Brush& brush);
    // The inscribed ellipse: outline with the pen, inside with the brush.
    void Ellipse(int left, int top, int right, int bottom);
    // The outline of the inscribed ellipse between two radial points; with equal start and end
    // points the whole outline (the same pixels as Ellipse's outline). No brush.
    void Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
    // Fills the region with the selected brush. The region is in logical coordinates.
    void PaintRgn(const Region& rgn);

    // Copies w x h pixels from src at (sx, sy) to (x, y) with the raster operation. Returns false
    // when either DC has no bitmap.
    bool BitBlt(int x, int y, int w, int h, const DC& src, int sx, int sy, Rop rop);
    // Copies src's (sx, sy, sw, sh) stretched onto (x, y, w, h), by this DC's stretch mode.
    // Negative sizes are not supported and draw nothing.
    bool StretchBlt(int x, int y, int w, int h, const DC& src, int sx, int sy, int sw, int sh,
                    Rop rop);

    void SetPixelV(int x, int y, Color c);
    // kBlack outside the bitmap (the platform answers CLR_INVALID there; no caller relies on it).
    Color GetPixel(int x, int y) const;

    // The text state (font, TextOut) is added with the text tool.

private:
    Pen m_pen;
    Brush m_brush = Brush::Solid(kWhite);
    Bitmap* m_bitmap = nullptr;
    Point m_brushOrg;
    Color m_textColor = kBlack;
    Color m_bkColor = kWhite;
    BkMode m_bkMode = BkMode::Opaque;
    StretchMode m_stretchMode = StretchMode::BlackOnWhite;
    Point m_viewportOrg;
    std::optional<Rect> m_clip;
    Point m_pos;
};

}  // namespace gdi
