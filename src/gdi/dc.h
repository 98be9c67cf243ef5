// A drawing context: the state that drawing operations read, and the operations themselves.
#pragma once

#include <optional>
#include <string_view>

#include "gdi/bitmap.h"
#include "gdi/brush.h"
#include "gdi/font.h"
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
// Before it writes, every operation tells the bitmap (Bitmap::AboutToChange) the device rectangle
// it may change, clipped; an operation added here announces the same way.
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
    Font SelectFont(const Font& font);
    const Pen& GetPen() const { return m_pen; }
    const Brush& GetBrush() const { return m_brush; }
    const Font& GetFont() const { return m_font; }

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

    // Pens. A thin pen (solid of width 0 or 1, or dashed) sets max(|dx|, |dy|) pixels from A up
    // to but not including B, one per step of the major axis; the minor coordinate is the exact
    // value rounded to nearest, a half going to the smaller coordinate whichever way the line is
    // drawn, so A->B and B->A differ only in their end pixels. A line from a point to itself sets
    // nothing.
    //
    // A wide solid pen (width 2 or 3) has round caps and joins, and covers its end points. Every
    // end point and vertex gets the cap, for width 2 the block x-1..x, y-1..y and for width 3
    // the 5-pixel plus on the point. Between them a horizontal segment covers rows
    // [y - w/2, y - w/2 + w) over [min x, max x) (vertical alike). A slanted segment from A to B
    // covers the quadrilateral A+r, B+r, B+l, A+l filled by the polygon rule, whose corners are
    // whole pixels: with len = |B - A|, the band reaches ex = w|dy|/len across in x and
    // ey = w|dx|/len in y; r, on the side towards larger x, is (round((ex+1)/2),
    // round((ey+1)/2)) and l, on the other side, (round(ex/2), round(ey/2)), each signed to
    // point away from the centre line (halves rounding up). So an odd split puts the extra
    // pixel on the right, and A->B and B->A cover the same pixels. A zero-length wide line
    // draws one cap.
    //
    //     width 3, (0,0) to (2,2)       ..###..   reach 2.12: 2 pixels on the right,
    //                                   .#####.   1 on the left; caps on both ends
    //                                   .####..
    //                                   ..####.
    //                                   ....#..
    //
    // A dashed pen is 18 pixels on and 6 off, counted along the major axis. The pattern starts
    // afresh at every LineTo, Rectangle, Ellipse and Arc call and runs on across the vertices of
    // one PolylineTo. Gaps are painted in the background colour in opaque mode and left alone in
    // transparent mode.

    Point MoveTo(int x, int y);
    Point GetCurrentPosition() const { return m_pos; }
    // A line from the current position, which then moves to (x, y).
    void LineTo(int x, int y);
    // Lines from the current position through each point; the current position ends on the last.
    // Each segment leaves out its own end pixel, which the next one starts on.
    void PolylineTo(const Point* points, int count);

    // The box is normalised first. With a thin pen the border is every pixel of [L, R) x [T, B)
    // with x in {L, R-1} or y in {T, B-1}, and the brush fills [L+1, R-1) x [T+1, B-1) before
    // it. With a null pen the brush fills [L, R-1) x [T, B-1). With a wide pen the border is the
    // closed wide path through (L,T), (R-1,T), (R-1,B-1), (L,B-1), drawn over the brush filling
    // [L, R-1) x [T, B-1). A 1 x 1 box with any pen sets its pixel in the pen colour. A dashed
    // border is one run of the pattern counter-clockwise (as seen on screen) from (R-1, T):
    // left along the top, down the left side, right along the bottom, up the right side.
    void Rectangle(int left, int top, int right, int bottom);
    // Fills [left, right) x [top, bottom) with `brush` (the selected brush is not used or changed),
    // anchored at the brush origin. An empty or inverted rectangle fills nothing.
    void FillRect(const Rect& r, const Brush& brush);
    // The ellipse inscribed in the normalised box [L, R) x [T, B). A box with no width or height
    // draws nothing; one at most 2 wide or high is drawn as Rectangle of the same box. Otherwise
    // the outline is one quadrant of the midpoint ellipse on the axes W-1, H-1, mirrored by
    // x' = L+R-1-x, y' = T+B-1-y; the quadrant ends where it leaves the box's right half, so a
    // tall narrow ellipse may not reach its box's top and bottom rows. The brush fills the pixels
    // between the outline's left and right runs on each row the outline reaches, then the pen
    // draws the outline over it; with a null pen the brush paints the outline's pixels too. A
    // wide pen strokes the outline as a closed wide path from pixel to pixel: a cap on every
    // pixel and a band on every diagonal step, which makes the outline thicker on the inside
    // than the caps alone. A dashed outline runs counter-clockwise (as seen on screen) from the
    // right end of the upper middle row, one pattern step per outline pixel.
    void Ellipse(int left, int top, int right, int bottom);
    // The outline of the inscribed ellipse from the radial through (xStart, yStart) counter-
    // clockwise (as seen on screen) to the radial through (xEnd, yEnd): the pixels of Ellipse's
    // outline whose angle about the box's centre lies in that sweep. When both radials coincide
    // (equal points, say) the whole outline, the same pixels as Ellipse's. No brush. A wide pen
    // strokes the pixels as an open wide path (closed for the whole outline). A box at most 2
    // wide or high draws Rectangle's whole border whatever the radials.
    void Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
    // Fills the region's spans with the selected brush. The region is in logical coordinates.
    void PaintRgn(const Region& rgn);

    // Block transfers act on whole pixel values bit by bit: SrcCopy D = S, SrcAnd D = S & D,
    // SrcPaint D = S | D. A monochrome source onto a colour bitmap turns black into this DC's text
    // colour and white into its background colour; a colour source onto a monochrome bitmap turns
    // pixels equal to the source DC's background colour white and all others black. The source
    // is addressed in src's logical coordinates (its viewport origin applies, its clip does not).
    // Destination pixels whose source pixels are not all inside the source bitmap are left alone.
    // Both return false when either DC has no bitmap.

    // Copies w x h pixels from src at (sx, sy) to (x, y) with the raster operation. An empty size
    // copies nothing.
    bool BitBlt(int x, int y, int w, int h, const DC& src, int sx, int sy, Rop rop);
    // Copies src's (sx, sy, sw, sh) stretched onto (x, y, w, h). Per axis, with source length S
    // and destination length D: enlarging, destination pixel d shows source pixel
    // ceil((2d+1)S / 2D) - 1; shrinking, source pixel s falls into destination pixel
    // ceil((2s+1)D / 2S) - 1. In BlackOnWhite mode a group's pixels are ANDed (on their black and
    // white values when either bitmap is monochrome), so dark pixels survive; in ColorOnColor mode
    // the last column of a horizontal group and the first row of a vertical group are kept.
    // Equal sizes are a plain BitBlt. Negative sizes are not supported: nothing is drawn and the
    // result is false.
    bool StretchBlt(int x, int y, int w, int h, const DC& src, int sx, int sy, int sw, int sh,
                    Rop rop);

    // Sets one pixel; on a monochrome bitmap the nearer of black and white (ties to black).
    void SetPixelV(int x, int y, Color c);
    // The pixel's value, clip or not; kBlack outside the bitmap (the platform answers
    // CLR_INVALID there; no caller relies on it).
    Color GetPixel(int x, int y) const;

    // One line of UTF-8 text in the selected font with its cell's top-left at (x, y). The cell is
    // [x, x + sum of the advances) x [y, y + cell height); in opaque mode it is filled with the
    // background colour first, then the glyphs' ink is set in the text colour, never blended. A
    // character the font's face lacks is drawn from another face that has it. False when no
    // bitmap is selected.
    bool TextOut(int x, int y, std::string_view utf8);
    // The size of that cell: width and height.
    Point GetTextExtent(std::string_view utf8) const;

  private:
    Point ToDevice(int x, int y) const { return {x + m_viewportOrg.x, y + m_viewportOrg.y}; }
    // Tells the bitmap that the device rectangle (less what the clip leaves out) is about to
    // change.
    void Announce(const Rect& device) const;
    // A device box widened by what the selected pen reaches past the centre line of an outline
    // drawn inside it (a wide pen's band and caps).
    Rect WidenByPen(const Rect& device) const;
    // The device box the pen's strokes from `from` through the logical points may touch.
    Rect StrokeBounds(Point from, const Point* logical, int count) const;
    // What dash gaps are painted in: the background colour in opaque mode, nothing otherwise.
    std::optional<Color> DashGapColor() const;
    // Rectangle on a normalised device box with the given brush.
    void DrawRectangle(const Rect& box, const Brush& brush);

    Pen m_pen;
    Brush m_brush = Brush::Solid(kWhite);
    Font m_font;
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
