// Every drawing operation tells the bitmap what it is about to change before it changes it: the
// undo record of the map relies on it to keep the old pixels.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gdi/dc.h"
#include "support/picture.h"

namespace {

// Keeps each pixel's value as it was when it was first announced, as the undo record does.
struct Recorder : gdi::BitmapWatcher {
    explicit Recorder(const gdi::Bitmap& bmp)
        : seen(static_cast<std::size_t>(bmp.Width() * bmp.Height()), false),
          old(static_cast<std::size_t>(bmp.Width() * bmp.Height()), 0) {}
    void BeforeChange(const gdi::Bitmap& bmp, const gdi::Rect& area) override {
        EXPECT_FALSE(area.IsEmpty());
        EXPECT_EQ(area.Intersect(bmp.Bounds()), area) << "announced beyond the bitmap";
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) {
                const auto i = static_cast<std::size_t>(y * bmp.Width() + x);
                if (!seen[i]) {
                    seen[i] = true;
                    old[i] = bmp.GetPixel(x, y);
                }
            }
    }
    std::vector<bool> seen;
    std::vector<gdi::Color> old;
};

// A picture with something in every tile of it, so that a write shows wherever it lands.
gdi::Bitmap Busy(int w, int h) {
    gdi::Bitmap bmp(w, h, 32, gdi::kWhite);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((x * 7 + y * 3) % 5 == 0)
                bmp.SetPixel(x, y, zk_test::kGreen);
    return bmp;
}

TEST(Announce, EveryOperationAnnouncesWhatItChangesBeforeChangingIt) {
    const gdi::Bitmap source = Busy(9, 7);
    const struct {
        const char* name;
        std::function<void(gdi::DC&, gdi::DC& src)> draw;
    } ops[] = {
        {"thin line", [](gdi::DC& dc, gdi::DC&) { dc.MoveTo(-5, 3), dc.LineTo(60, 25); }},
        {"dashed line",
         [](gdi::DC& dc, gdi::DC&) {
             dc.SelectPen(gdi::Pen::Dash(gdi::kBlack));
             dc.MoveTo(2, 40), dc.LineTo(30, -4);
         }},
        {"wide lines",
         [](gdi::DC& dc, gdi::DC&) {
             for (int w : {2, 3}) {
                 dc.SelectPen(gdi::Pen::Solid(w, gdi::kBlack));
                 dc.MoveTo(0, 0), dc.LineTo(0, 0);
                 dc.MoveTo(1, 12), dc.LineTo(20, 12);
                 dc.MoveTo(25, 1), dc.LineTo(33, 20);
             }
         }},
        {"polyline",
         [](gdi::DC& dc, gdi::DC&) {
             dc.SelectPen(gdi::Pen::Solid(3, gdi::kBlack));
             const gdi::Point pts[] = {{10, 2}, {30, 28}, {-3, 20}, {38, 0}};
             dc.MoveTo(0, 27), dc.PolylineTo(pts, 4);
         }},
        {"rectangles",
         [](gdi::DC& dc, gdi::DC&) {
             dc.SelectBrush(gdi::Brush::Solid(zk_test::kRed));
             dc.Rectangle(3, 3, 12, 9);
             dc.SelectPen(gdi::Pen::Solid(3, gdi::kBlack));
             dc.Rectangle(30, 25, 14, 11);
             dc.SelectPen(gdi::Pen::Null());
             dc.Rectangle(36, 0, 45, 6);
             dc.FillRect({-4, 20, 8, 40}, gdi::Brush::Solid(gdi::kBlack));
         }},
        {"ellipses and arcs",
         [](gdi::DC& dc, gdi::DC&) {
             dc.SelectBrush(gdi::Brush::Solid(zk_test::kBlue));
             dc.Ellipse(2, 2, 20, 14);
             dc.SelectPen(gdi::Pen::Solid(3, gdi::kBlack));
             dc.Ellipse(18, 10, 44, 33);
             dc.SelectPen(gdi::Pen::Solid(2, gdi::kBlack));
             dc.Arc(0, 15, 16, 29, 0, 15, 16, 29);
             dc.Ellipse(5, 5, 7, 6);
         }},
        {"region",
         [](gdi::DC& dc, gdi::DC&) {
             const gdi::Point tri[] = {{5, 1}, {40, 12}, {2, 31}};
             dc.SelectBrush(gdi::Brush::Solid(gdi::kBlack));
             dc.PaintRgn(gdi::Region::Polygon(tri, 3));
         }},
        {"pixels", [](gdi::DC& dc, gdi::DC&) { dc.SetPixelV(10, 10, 0), dc.SetPixelV(36, 20, 0); }},
        {"blits",
         [](gdi::DC& dc, gdi::DC& src) {
             dc.BitBlt(-2, -1, 9, 7, src, 0, 0, gdi::Rop::SrcAnd);
             dc.StretchBlt(10, 3, 30, 20, src, 1, 1, 7, 5, gdi::Rop::SrcCopy);
             dc.StretchBlt(30, 20, 4, 3, src, 0, 0, 9, 7, gdi::Rop::SrcPaint);
             dc.BitBlt(20, 15, 12, 10, dc, 2, 2, gdi::Rop::SrcCopy);  // within the same bitmap
         }},
    };
    for (const auto& op : ops)
        for (bool clipped : {false, true}) {
            gdi::Bitmap bmp = Busy(40, 30);
            Recorder rec(bmp);
            bmp.SetWatcher(&rec);
            const gdi::Bitmap before = bmp;
            gdi::Bitmap srcCopy = source;
            gdi::DC src(&srcCopy);
            gdi::DC dc(&bmp);
            dc.SetViewportOrg({3, -2});
            if (clipped)
                dc.SetClipRect(gdi::Rect{6, 4, 31, 22});
            op.draw(dc, src);
            int changed = 0;
            for (int y = 0; y < bmp.Height(); ++y)
                for (int x = 0; x < bmp.Width(); ++x) {
                    const auto i = static_cast<std::size_t>(y * bmp.Width() + x);
                    if (bmp.GetPixel(x, y) == before.GetPixel(x, y))
                        continue;
                    ++changed;
                    ASSERT_TRUE(rec.seen[i]) << op.name << (clipped ? " (clipped)" : "") << ": ("
                                             << x << ", " << y << ") changed unannounced";
                    ASSERT_EQ(rec.old[i], before.GetPixel(x, y))
                        << op.name << ": (" << x << ", " << y << ") announced after the write";
                }
            EXPECT_GT(changed, 0) << op.name << ": the case draws nothing";
        }
}

}  // namespace
