#include "tools/symbol_tool.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <set>
#include <utility>

#include "doc/pattern_library.h"
#include "tools/tool_settings.h"
#include "view_harness.h"

namespace {

using zk::ToolSettings;
using Pixels = std::set<std::pair<int, int>>;

constexpr gdi::Color kOther = gdi::RGB(0x40, 0x80, 0xC0);

// Black top row and one black mark near the top-left: every turn and mirror of it differs.
gdi::Bitmap Asymmetric() {
    gdi::Bitmap s(16, 16, 1, gdi::kWhite);
    for (int x = 0; x < 16; ++x)
        s.SetPixel(x, 0, gdi::kBlack);
    s.SetPixel(3, 5, gdi::kBlack);
    return s;
}

struct SymbolHarness : zk_test::ViewHarness {
    SymbolHarness() {
        saved = zk::g_patternLibrary.m_symbols;
        Select(zk::kSymbolTool);
    }
    ~SymbolHarness() { zk::g_patternLibrary.m_symbols = saved; }
    // The map pixels of colour c in the 16 x 16 square at (x0, y0), relative to it.
    Pixels InSquare(int x0, int y0, gdi::Color c) const {
        Pixels p;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (Map(x0 + x, y0 + y) == c)
                    p.insert({x, y});
        return p;
    }
    std::array<gdi::Bitmap, zk::PatternLibrary::kCount> saved;
};

Pixels Column(int x) {
    Pixels p;
    for (int y = 0; y < 16; ++y)
        p.insert({x, y});
    return p;
}
Pixels Row(int y) {
    Pixels p;
    for (int x = 0; x < 16; ++x)
        p.insert({x, y});
    return p;
}

TEST(SymbolTool, StampsInEachOfTheFourRotations) {
    struct Case {
        int rotation;
        Pixels edge;  // where the symbol's top row lands
        std::pair<int, int> mark;
    };
    const Case cases[] = {
        {0, Row(0), {3, 5}},
        {1, Column(0), {5, 12}},  // counter-clockwise: the top becomes the left
        {2, Row(15), {12, 10}},
        {3, Column(15), {10, 3}},  // clockwise: the top becomes the right
    };
    for (const Case& c : cases) {
        SymbolHarness h;
        zk::g_patternLibrary.m_symbols[3] = Asymmetric();
        ToolSettings::symbol = 3;
        ToolSettings::symbolrotation = c.rotation;
        h.Move(40, 50);  // snapped down to (32, 48)
        h.Press(40, 50);
        h.Paint();
        h.Release(40, 50);
        Pixels expected = c.edge;
        expected.insert(c.mark);
        EXPECT_EQ(h.InSquare(32, 48, gdi::kBlack), expected) << "rotation " << c.rotation;
        EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 300, 200), 17) << "rotation " << c.rotation;
    }
}

// The left button ANDs, the right button copies, both at the press point (the view tells the
// tool where the pointer is before a press). A symbol smaller than 16 x 16 is white beyond its
// pixels.
TEST(SymbolTool, LeftAndsRightCopiesAtThePressPoint) {
    struct Case {
        Qt::MouseButton button;
        bool small;
    };
    const Case cases[] = {
        {Qt::LeftButton, false},
        {Qt::RightButton, false},
        {Qt::RightButton, true},
    };
    for (const Case& c : cases) {
        SymbolHarness h;
        gdi::Bitmap s = Asymmetric();
        if (c.small) {
            s = gdi::Bitmap(4, 4, 32, gdi::kBlack);
            s.SetPixel(1, 1, gdi::kWhite);
        }
        zk::g_patternLibrary.m_symbols[0] = s;
        ToolSettings::symbol = 0;
        h.FillMap(0, 0, h.doc.m_width, h.doc.m_height, kOther);
        h.Move(20, 20);
        h.Press(100, 100, c.button);
        h.Paint();
        h.Release(100, 100, c.button);
        const int at = 96;  // (100, 100) snapped down
        const Pixels black = h.InSquare(at, at, gdi::kBlack);
        Pixels expected;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (gdi::Color p = s.InBounds(x, y) ? s.GetPixel(x, y) : gdi::kWhite;
                    p == gdi::kBlack)
                    expected.insert({x, y});
        EXPECT_EQ(black, expected);
        const gdi::Color behindWhite = c.button == Qt::LeftButton ? kOther : gdi::kWhite;
        EXPECT_EQ(h.InSquare(at, at, behindWhite).size(), 256 - expected.size());
        EXPECT_EQ(h.CountMap(kOther, 0, 0, 300, 200),
                  300 * 200 - 256 + (c.button == Qt::LeftButton ? 256 - int(expected.size()) : 0));
    }
}

TEST(SymbolTool, EveryPressAndDragPositionStampsAndThePreviewFollowsAtTheZoom) {
    SymbolHarness h;
    zk::g_patternLibrary.m_symbols[0] = Asymmetric();
    ToolSettings::symbol = 0;
    // A click released before any paint, and a drag whose moves all come before the paint.
    h.Click(20, 20);
    h.Move(100, 20);
    h.Press(100, 20);
    h.Move(132, 20, Qt::LeftButton);
    h.Move(164, 20, Qt::LeftButton);
    h.Release(164, 20);
    h.Paint();
    for (int x : {16, 96, 128, 160})
        EXPECT_EQ(h.InSquare(x, 16, gdi::kBlack).size(), 17u) << "no stamp at " << x;
    EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 300, 200), 4 * 17);

    // The preview is ANDed onto the window at the zoom: each symbol pixel a 2 x 2 block.
    h.ZoomTo(2.0f);
    h.Move(200, 150);  // map (100, 75), snapped to (96, 64)
    h.Paint();
    for (int d = 0; d < 2; ++d) {
        EXPECT_EQ(h.Window(2 * (96 + 3) + d, 2 * (64 + 5) + d), gdi::kBlack);
        EXPECT_EQ(h.Window(2 * (96 + 15) + d, 2 * 64 + d), gdi::kBlack);
        EXPECT_EQ(h.Window(2 * (96 + 4) + d, 2 * (64 + 5) + d), gdi::kWhite);
    }
    EXPECT_EQ(h.Map(96 + 3, 64 + 5), gdi::kWhite) << "the preview reached the map";

    // Far out a symbol is less than a window pixel: it still shows, ANDed into the one it is in.
    h.doc.NewMap(672, 944);
    for (const float zoom : {1.0f / 16, 1.0f / 32, 1.0f / 64}) {
        h.ZoomTo(zoom);
        h.Move(5, 3);
        h.Paint();
        const gdi::Point at = zk::ToWindow(h.view->m_symbolTool.m_curPoint, zoom);
        EXPECT_EQ(h.Window(at.x, at.y), gdi::kBlack) << "no preview at zoom " << zoom;
        EXPECT_EQ(h.CountWindow(gdi::kBlack, 0, 0, 60, 40), 1) << "zoom " << zoom;
    }
}

}  // namespace
