#include "view/zk_view.h"

#include <gtest/gtest.h>

#include <QScrollBar>
#include <set>
#include <string>
#include <vector>

#include "doc/bitmap_file.h"
#include "support/picture.h"
#include "support/temp_dir.h"
#include "tools/map_tool.h"
#include "tools/tool_settings.h"
#include "view_harness.h"

namespace {

using zk::ToolSettings;
using zk_test::ViewHarness;

// Records what the view hands to the tool.
class ProbeTool : public zk::MapTool {
  public:
    gdi::Point SnapPoint(int x, int y) override {
        return snapNearest ? zk::SnapNearest(x, y) : zk::SnapDown(x, y);
    }
    void OnLButtonDown(unsigned flags, int x, int y) override { Log('L', flags, x, y); }
    void OnLButtonUp(unsigned flags, int x, int y) override { Log('l', flags, x, y); }
    void OnRButtonDown(unsigned flags, int x, int y) override { Log('R', flags, x, y); }
    void OnRButtonUp(unsigned flags, int x, int y) override { Log('r', flags, x, y); }
    void OnRButtonDblClk(unsigned flags, int x, int y) override { Log('D', flags, x, y); }
    void OnMouseMove(unsigned flags, int x, int y) override {
        MapTool::OnMouseMove(flags, x, y);
        Log('M', flags, x, y);
    }
    void Log(char c, unsigned flags, int x, int y) {
        events += c;
        last = {x, y};
        lastFlags = flags;
    }
    std::string events;
    gdi::Point last;
    unsigned lastFlags = 0;
    bool snapNearest = false;
};

struct ViewWithProbe : ViewHarness {
    ViewWithProbe() { view->m_pTool = &probe; }
    // The probe goes before the harness's end, which still asks the current tool for its work.
    ~ViewWithProbe() override { view->m_pTool = nullptr; }
    ProbeTool probe;
};

TEST(MapView, WindowPointsBecomeMapPointsByZoomAndSnapping) {
    struct Case {
        float zoom;
        bool grid;
        int grid_step;
        int wx, wy;
        gdi::Point expected;
    };
    const Case cases[] = {
        {2.0f, false, 16, 5, 7, {2, 3}},    {0.5f, false, 16, 5, 7, {10, 14}},
        {1.0f, true, 16, 40, 40, {32, 32}}, {1.0f, false, 16, 40, 40, {40, 40}},
        {8.0f, false, 16, 15, 17, {1, 2}},  {0.125f, false, 16, 3, 1, {24, 8}},
        {1.0f, true, 1, 13, 27, {13, 27}},
    };
    ViewWithProbe h;
    for (const Case& c : cases) {
        ToolSettings::zoom = c.zoom;
        ToolSettings::grid = c.grid_step;
        h.view->m_gridOn = c.grid ? 1 : 0;
        h.view->UpdateScrollSizes();
        EXPECT_EQ(h.view->WindowToMap(c.wx, c.wy), c.expected)
            << "zoom " << c.zoom << " window " << c.wx << "," << c.wy;
    }
}

TEST(MapView, ScrollPositionIsAddedBeforeDividing) {
    ViewWithProbe h;
    ToolSettings::zoom = 8.0f;
    h.view->m_gridOn = 0;
    h.view->UpdateScrollSizes();
    h.view->horizontalScrollBar()->setValue(100);
    EXPECT_EQ(h.view->WindowToMap(0, 0).x, 12);  // trunc(100 / 8)
}

TEST(MapView, MouseMessagesReachTheToolAndEveryPressTakesAnUndoSnapshot) {
    ViewWithProbe h;
    h.view->m_gridOn = 0;
    h.Move(10, 20);
    h.doc.m_bitmap.SetPixel(0, 0, gdi::kBlack);
    h.Press(11, 21, Qt::LeftButton);
    EXPECT_EQ(h.doc.History().UndoCount(), 1u) << "a press that ended no step";
    EXPECT_FALSE(h.doc.GetUndoRecord().Changed());
    EXPECT_TRUE(h.probe.lastFlags & zk::MK_LBUTTON);
    h.Release(300, 300, Qt::LeftButton);  // released outside the window: still delivered
    h.Press(5, 5, Qt::RightButton);
    h.Release(5, 5, Qt::RightButton);
    h.DoubleClick(5, 5, Qt::RightButton);
    h.Release(5, 5, Qt::RightButton);
    // A left double-click is only a second release.
    h.DoubleClick(5, 5, Qt::LeftButton);
    h.Release(5, 5, Qt::LeftButton);
    // A press away from the last move point is told first that the pointer is there.
    EXPECT_EQ(h.probe.events, "MMLlMRrDrl");
    EXPECT_EQ(h.probe.last, (gdi::Point{5, 5}));
}

TEST(MapView, PressWithNoToolStillRefreshesTheUndoCopy) {
    ViewHarness h;
    h.view->SelectTool(42);
    EXPECT_EQ(h.view->CurrentTool(), nullptr);
    h.doc.m_bitmap.SetPixel(3, 3, gdi::kBlack);
    h.Press(3, 3);
    h.Release(3, 3);
    h.Paint();
    EXPECT_EQ(h.doc.History().UndoCount(), 1u) << "a press that ended no step";
}

TEST(MapView, GridDotsSitOnGridMultiplesOfTheMapOnly) {
    ViewHarness h(300, 200);
    h.Select(-1);  // the picture alone, without a tool's marks
    h.doc.NewMap(100, 50);
    h.Paint();
    std::set<int> xs, ys;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            if (h.Window(x, y) == zk::CZKView::kGridDotColor) {
                xs.insert(x);
                ys.insert(y);
            }
    EXPECT_EQ(xs, (std::set<int>{0, 16, 32, 48, 64, 80, 96}));
    EXPECT_EQ(ys, (std::set<int>{0, 16, 32, 48}));
    // Beyond the map the window is light grey; inside it the map's white.
    EXPECT_EQ(h.Window(100, 10), zk::CZKView::kOutsideColor);
    EXPECT_EQ(h.Window(10, 50), zk::CZKView::kOutsideColor);
    EXPECT_EQ(h.Window(99, 49), gdi::kWhite);
    EXPECT_EQ(h.Window(299, 199), zk::CZKView::kOutsideColor);

    h.view->OnGrid();
    h.Paint();
    EXPECT_EQ(h.Window(16, 16), gdi::kWhite) << "grid off still shows dots";
}

TEST(MapView, ZoomedPictureAndDotsFollowTheZoom) {
    ViewHarness h(300, 200);
    h.Select(-1);  // the picture alone, without a tool's marks
    h.doc.NewMap(40, 20);
    h.doc.m_bitmap.SetPixel(1, 1, gdi::kBlack);
    h.view->OnZoomIn();
    h.view->OnZoomIn();  // zoom 4
    h.Paint();
    EXPECT_EQ(h.Window(4, 4), gdi::kBlack);
    EXPECT_EQ(h.Window(7, 7), gdi::kBlack);
    EXPECT_EQ(h.Window(8, 8), gdi::kWhite);
    EXPECT_EQ(h.Window(64, 64), zk::CZKView::kGridDotColor);
    EXPECT_EQ(h.Window(160, 10), zk::CZKView::kOutsideColor);
    EXPECT_EQ(h.Window(159, 79), gdi::kWhite);

    // A grid step below one window pixel shows no dots rather than hanging.
    ToolSettings::grid = 1;
    ToolSettings::zoom = 0.5f;
    h.view->UpdateScrollSizes();
    h.Paint();
    EXPECT_NE(h.Window(1, 1), zk::CZKView::kGridDotColor);
}

TEST(MapView, ZoomStopsAtItsLimits) {
    ViewHarness h;
    // Every power of two on the way, in and out.
    std::vector<float> seen;
    for (int i = 0; i < 7; ++i) {
        h.view->OnZoomIn();
        seen.push_back(ToolSettings::zoom);
    }
    EXPECT_EQ(seen, (std::vector<float>{2, 4, 8, 16, 32, 32, 32}));
    seen.clear();
    for (int i = 0; i < 13; ++i) {
        h.view->OnZoomOut();
        seen.push_back(ToolSettings::zoom);
    }
    EXPECT_EQ(seen, (std::vector<float>{16, 8, 4, 2, 1, 0.5f, 0.25f, 0.125f, 1.0f / 16, 1.0f / 32,
                                        1.0f / 64, 1.0f / 64, 1.0f / 64}));
}

TEST(MapView, ShrunkMapKeepsDarkPixels) {
    ViewHarness h(300, 200);
    h.Select(-1);  // the picture alone, without a tool's marks
    h.doc.NewMap(64, 64);
    h.doc.m_bitmap.SetPixel(9, 9, gdi::kBlack);
    h.view->m_gridOn = 0;
    h.view->OnZoomOut();
    h.view->OnZoomOut();  // 0.25: a 4 x 4 block per window pixel
    h.Paint();
    EXPECT_EQ(h.Window(2, 2), gdi::kBlack);
    EXPECT_EQ(h.Window(3, 3), gdi::kWhite);
}

TEST(MapView, InitialUpdateResetsZoomAndGridAndPicksTheSettingsTool) {
    ViewHarness h;
    h.view->OnZoomIn();
    h.view->OnGrid();
    ToolSettings::tool = zk::kFreehandTool;
    h.view->OnInitialUpdate();
    EXPECT_EQ(ToolSettings::zoom, 1.0f);
    EXPECT_EQ(h.view->m_gridOn, 1);
    EXPECT_EQ(h.view->CurrentTool(), &h.view->m_freehandTool);
}

TEST(MapView, GridLargerAndSmallerStopAtTheirLimits) {
    ViewHarness h;
    const struct {
        int from;
        bool larger;
        int to;
    } cases[] = {{40, true, 80}, {63, true, 126}, {64, true, 64}, {100, true, 100}, {5, false, 2},
                 {7, false, 3},  {9, false, 4},   {4, false, 4},  {1, false, 1}};
    for (const auto& c : cases) {
        ToolSettings::grid = c.from;
        if (c.larger)
            h.view->OnGridLarger();
        else
            h.view->OnGridSmaller();
        EXPECT_EQ(ToolSettings::grid, c.to) << c.from << (c.larger ? " larger" : " smaller");
    }
    ToolSettings::grid = 16;
}

TEST(MapView, SettingsResizeOnlyWhenTheSizeChanges) {
    ViewHarness h;
    h.doc.m_bitmap.SetPixel(5, 5, gdi::kBlack);
    h.history->Note();
    h.doc.SaveUndo();
    h.doc.m_bitmap.SetPixel(5, 5, gdi::kWhite);  // would be lost by a needless snapshot
    h.doc.m_bitmap.SetPixel(2, 2, gdi::kBlack);
    h.history->Note();
    EXPECT_TRUE(h.view->ApplySettings(32, 1, 672, 944));
    EXPECT_EQ(ToolSettings::grid, 32);
    EXPECT_EQ(h.doc.UndoPicture().GetPixel(5, 5), gdi::kBlack);
    EXPECT_TRUE(h.view->ApplySettings(32, 0, 700, 944));
    EXPECT_EQ(h.doc.m_width, 700);
    EXPECT_EQ(ToolSettings::overgrid, 0);
    EXPECT_EQ(h.doc.UndoPicture().GetPixel(2, 2), gdi::kBlack);
    std::string why;
    EXPECT_FALSE(h.view->ApplySettings(16, 1, 0, 944, &why));
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(h.doc.m_width, 700);
    ToolSettings::ResetToDefaults();
}

// A map where every pixel has a colour of its own (its coordinates), so a picture off by one
// shows, and one pixel in about a thousand is darker: the AND of a block is then not the colour
// of any one of its pixels, so a shrunk picture that takes one pixel of each block shows too.
void PaintDistinctPixels(zk::CZKDoc& doc) {
    gdi::Bitmap& map = doc.m_bitmap;
    map.AboutToChange(map.Bounds());
    for (int y = 0; y < map.Height(); ++y) {
        gdi::Color* row = map.Row(y);
        for (int x = 0; x < map.Width(); ++x) {
            row[x] = gdi::RGB(x & 255, y & 255, ((x >> 8) << 4) | ((y >> 8) & 15));
            if ((x * 31 + y * 17) % 1009 == 0)
                row[x] &= 0x5A5A5A;
        }
    }
}

struct ViewCase {
    float zoom;
    int w, h;
    int sx, sy;
};

// Shows the map at the case's zoom, size and scroll, paints, and compares every window pixel
// with the map itself.
void ExpectTheWindowShowsTheMap(ViewHarness& h, const ViewCase& c, const std::string& when) {
    ToolSettings::zoom = c.zoom;
    h.view->resize(c.w, c.h);
    h.view->UpdateScrollSizes();
    h.view->horizontalScrollBar()->setValue(c.sx);
    h.view->verticalScrollBar()->setValue(c.sy);
    h.Paint();
    const std::string what = when + ": zoom " + std::to_string(c.zoom) + ", view " +
                             std::to_string(c.w) + "x" + std::to_string(c.h) + ", scroll " +
                             std::to_string(h.view->horizontalScrollBar()->value()) + "," +
                             std::to_string(h.view->verticalScrollBar()->value());
    ASSERT_EQ(h.view->WindowPicture().Width(), h.view->viewport()->width()) << what;
    ASSERT_EQ(h.view->WindowPicture().Height(), h.view->viewport()->height()) << what;
    EXPECT_TRUE(zk_test::SamePixels(h.ExpectedWindowPicture(), h.view->WindowPicture())) << what;
}

// Every window pixel shows the map pixel the pointer would name there: column
// trunc((x + scroll) / zoom) when enlarged, the AND of the block when shrunk, grey beyond the map
// and where a block is not whole. At every zoom step, scrolled to the ends of the ranges too.
TEST(MapView, EveryWindowPixelShowsTheMapPixelThePointerNames) {
    ViewHarness h(954, 641);
    h.Select(-1);
    h.view->m_gridOn = 0;
    h.doc.NewMap(1200, 900);
    PaintDistinctPixels(h.doc);
    const ViewCase cases[] = {
        {32.0f, 954, 641, 0, 0},     {32.0f, 301, 203, 38099, 28797}, {32.0f, 97, 61, 1001, 33},
        {16.0f, 954, 641, 33, 17},   {8.0f, 954, 641, 0, 0},          {8.0f, 954, 641, 13, 5},
        {8.0f, 301, 203, 4003, 7},   {4.0f, 954, 641, 3, 1022},       {4.0f, 333, 77, 2, 2},
        {2.0f, 954, 641, 1, 3},      {2.0f, 121, 95, 777, 0},         {1.0f, 954, 641, 57, 259},
        {0.5f, 301, 203, 33, 11},    {0.25f, 120, 90, 0, 0},          {0.25f, 281, 203, 19, 22},
        {0.125f, 160, 120, 0, 0},    {0.125f, 100, 80, 33, 21},       {1.0f / 16, 60, 50, 15, 6},
        {1.0f / 16, 954, 641, 0, 0}, {1.0f / 32, 60, 50, 0, 0},       {1.0f / 64, 954, 641, 0, 0},
    };
    for (const ViewCase& c : cases)
        ExpectTheWindowShowsTheMap(h, c, "1200 x 900");
    // Far out, scrolled: a map many window widths wide even at 1/64.
    h.doc.NewMap(4200, 3400);
    PaintDistinctPixels(h.doc);
    const ViewCase far[] = {
        {1.0f / 64, 50, 40, 15, 13}, {1.0f / 32, 77, 61, 54, 45}, {1.0f / 16, 123, 99, 140, 113}};
    for (const ViewCase& c : far)
        ExpectTheWindowShowsTheMap(h, c, "4200 x 3400");
}

// The shrunk pictures come from reduced copies of the map: they follow every change, drawn
// through a tool, taken back by Undo, or a whole new map from Resize and Open.
TEST(MapView, ShrunkPicturesFollowStrokesUndoResizeAndOpen) {
    ViewHarness h(320, 240);
    h.view->m_gridOn = 0;
    h.doc.NewMap(1100, 700);
    PaintDistinctPixels(h.doc);
    // Every zoom below 1, scrolled a little, so every reduced copy has been made and shown.
    const ViewCase shrunk[] = {{0.5f, 320, 240, 5, 7},    {0.25f, 200, 150, 3, 9},
                               {0.125f, 120, 80, 6, 4},   {1.0f / 16, 60, 40, 3, 2},
                               {1.0f / 32, 60, 50, 0, 0}, {1.0f / 64, 60, 50, 0, 0}};
    const auto everyZoom = [&](const std::string& when) {
        h.Select(-1);
        for (const ViewCase& c : shrunk)
            ExpectTheWindowShowsTheMap(h, c, when);
    };
    everyZoom("painted");

    // Freehand strokes at 1/4, with the button held across several paints.
    h.Select(zk::kFreehandTool);
    ToolSettings::line = 3;
    h.view->resize(200, 150);
    ToolSettings::zoom = 0.25f;
    h.view->UpdateScrollSizes();
    h.Move(10, 10);
    h.Press(10, 10);
    for (int i = 1; i <= 8; ++i) {
        h.Move(10 + 20 * i, 10 + (i % 3) * 30, Qt::LeftButton);
        h.Paint();
    }
    h.Release(170, 70);
    h.Paint();
    everyZoom("after a stroke");

    h.doc.OnEditUndo();
    everyZoom("after undo");
    h.doc.OnEditUndo();
    everyZoom("after redo");

    ASSERT_TRUE(h.doc.Resize(1037, 650));
    gdi::DC dc(&h.doc.m_bitmap);
    dc.FillRect({1000, 600, 1037, 650}, gdi::Brush::Solid(gdi::kBlack));
    everyZoom("after a resize");
    h.doc.OnEditUndo();
    everyZoom("after undoing the resize");

    const zk_test::TempDir dir;
    gdi::Bitmap other(1500, 1300, 32, gdi::kWhite);
    gdi::DC odc(&other);
    odc.FillRect({700, 640, 900, 700}, gdi::Brush::Solid(gdi::kBlack));
    ASSERT_TRUE(zk::WriteBitmapFile(dir / "other.bmp", other));
    ASSERT_TRUE(h.doc.OnOpenDocument((dir / "other.bmp").string()));
    everyZoom("after open");
}

// The map moves under a pointer that stands still: the tool hears of the pointer's new map
// point, and a click there lands under the pointer.
TEST(MapView, AfterAScrollTheToolHasThePointersNewMapPoint) {
    ViewWithProbe h;
    h.view->m_gridOn = 0;
    h.Move(100, 50);
    h.probe.events.clear();
    h.view->verticalScrollBar()->setValue(40);  // a scroll bar or a key
    EXPECT_EQ(h.probe.events, "M");
    EXPECT_EQ(h.probe.last, (gdi::Point{100, 90}));

    // The wheel, at a point the view has not seen a move at yet.
    h.Wheel(120, 60, {0, -120});
    const int scroll = h.view->verticalScrollBar()->value();
    ASSERT_GT(scroll, 40);
    EXPECT_EQ(h.probe.last, (gdi::Point{120, 60 + scroll}));

    // A pointer that has left the window is not brought back by a scroll.
    h.Leave();
    h.probe.events.clear();
    h.view->verticalScrollBar()->setValue(0);
    EXPECT_EQ(h.probe.events, "");
}

TEST(MapView, AClickAfterAWheelScrollPaintsUnderThePointer) {
    ViewHarness h;
    h.Select(zk::kGridTilesTool);
    h.Move(40, 40);
    h.view->verticalScrollBar()->setValue(64);
    h.Press(40, 40);
    h.Release(40, 40);
    h.Paint();
    // The pointer is over map point (40, 104): the tile's cell is (32, 96).
    EXPECT_EQ(h.Map(32, 104), gdi::kBlack) << "frame of the tile under the pointer";
    EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 300, 90), 0) << "a tile where the pointer was";
}

TEST(MapView, ToolMarksStayOnTheMap) {
    ViewHarness h(300, 200);
    h.Select(zk::kFreehandTool);
    h.view->m_gridOn = 0;
    h.doc.NewMap(100, 50);
    h.Move(97, 47);  // the cross reaches 8 pixels beyond the map's corner
    h.Paint();
    int marks = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            if (h.Window(x, y) == zk::kMarkColor) {
                ++marks;
                EXPECT_TRUE(x < 100 && y < 50) << "a mark at " << x << "," << y;
            }
    EXPECT_GT(marks, 0);
}

TEST(Snapping, DownAndNearestFollowTheGrid) {
    ToolSettings::grid = 16;
    EXPECT_EQ(zk::SnapDown(15, 16), (gdi::Point{0, 16}));
    EXPECT_EQ(zk::SnapDown(-5, 31), (gdi::Point{0, 16}));
    EXPECT_EQ(zk::SnapNearest(7, 8), (gdi::Point{0, 16}));
    EXPECT_EQ(zk::SnapNearest(23, 24), (gdi::Point{16, 32}));
    ToolSettings::grid = 5;
    EXPECT_EQ(zk::SnapNearest(2, 3), (gdi::Point{0, 5}));
    EXPECT_EQ(zk::SnapNearest(7, 8), (gdi::Point{5, 10}));
    ToolSettings::grid = 1;
    EXPECT_EQ(zk::SnapDown(13, -7), (gdi::Point{13, -7}));
    EXPECT_EQ(zk::SnapNearest(13, -7), (gdi::Point{13, -7}));
    // A broken step never divides by zero.
    ToolSettings::grid = 0;
    EXPECT_EQ(zk::SnapNearest(13, 7), (gdi::Point{13, 7}));
    ToolSettings::grid = 16;
}

TEST(ToolSettingsRanges, SanitizeBringsStoredValuesIntoRange) {
    ToolSettings::grid = 0;
    ToolSettings::fill = 99;
    ToolSettings::secfill = -3;
    ToolSettings::symbol = 16;
    ToolSettings::line = 7;
    ToolSettings::tool = 12;
    ToolSettings::Sanitize();
    EXPECT_EQ(ToolSettings::grid, 1);
    EXPECT_EQ(ToolSettings::fill, 15);
    EXPECT_EQ(ToolSettings::secfill, 0);
    EXPECT_EQ(ToolSettings::symbol, 15);
    EXPECT_EQ(ToolSettings::line, 3);
    EXPECT_EQ(ToolSettings::tool, zk::kGridTilesTool);
    ToolSettings::ResetToDefaults();
}

}  // namespace

namespace {

TEST(MapView, EveryToolsGestureUndoesAndRedoesAcrossTileAndMapEdges) {
    // 100 x 70: the map's edges and the tile edges at 64 are all in the window.
    for (int kind : {zk::kTilesTool, zk::kFreehandTool, zk::kLinesTool, zk::kGridTilesTool}) {
        SCOPED_TRACE(kind);
        ViewHarness h;
        h.view->m_gridOn = 0;
        h.doc.NewMap(100, 70);
        h.Select(kind);
        const auto gesture = [&h](int x0, int y0, int x1, int y1, Qt::MouseButton b) {
            h.Move(x0, y0);
            h.Press(x0, y0, b);
            h.Paint();
            for (int i = 1; i <= 4; ++i) {
                h.Move(x0 + (x1 - x0) * i / 4, y0 + (y1 - y0) * i / 4, b);
                h.Paint();
            }
            h.Release(x1, y1, b);
            h.Paint();
        };
        gesture(10, 60, 90, 5, Qt::LeftButton);  // something for the next gesture to cover
        h.view->CommitToolWork();
        const gdi::Bitmap before = h.doc.m_bitmap;
        gesture(40, 40, 130, 90, Qt::LeftButton);  // over the tile corner and off the map
        h.view->CommitToolWork();
        const gdi::Bitmap after = h.doc.m_bitmap;
        ASSERT_FALSE(after == before) << "the gesture drew nothing";
        h.doc.OnEditUndo();
        EXPECT_TRUE(zk_test::SameBitmap(before, h.doc.m_bitmap));
        h.doc.OnEditRedo();
        EXPECT_TRUE(zk_test::SameBitmap(after, h.doc.m_bitmap));
    }
}

}  // namespace
