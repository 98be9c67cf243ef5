// The pattern palette: which item a point picks, what the buttons do with each tool, the picture
// it shows, and which editors a double-click opens.
#include "ui/pattern_palette.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <functional>
#include <vector>

#include "tools/tool_settings.h"
#include "ui/fills_dlg.h"

namespace {

using zk::CPatternPalette;
using zk::ToolSettings;
using Pixels = std::function<gdi::Color(int dx, int dy)>;
constexpr gdi::Color kFace = CPatternPalette::kBackground;

// Every pixel its own colour, so that a swatch shows where each one landed.
gdi::Bitmap Distinct(int w, int h, int seed) {
    gdi::Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, gdi::RGB(16 * x + 1, 16 * y + 1, seed));
    return b;
}
Pixels Tiled(const gdi::Bitmap& b) {
    return [&b](int dx, int dy) { return b.GetPixel(dx % 8, dy % 8); };
}
Pixels Once(const gdi::Bitmap& b) {
    return [&b](int dx, int dy) {
        return dx < 16 && dy < 16 && b.InBounds(dx, dy) ? b.GetPixel(dx, dy) : kFace;
    };
}

class RecordingPalette : public CPatternPalette {
  public:
    using CPatternPalette::CPatternPalette;
    std::vector<const gdi::Bitmap*> edited;
    std::vector<const gdi::Bitmap*> editedSymbols;

  protected:
    void EditBrush(gdi::Bitmap& brush) override { edited.push_back(&brush); }
    void EditSymbol(gdi::Bitmap& symbol) override { editedSymbols.push_back(&symbol); }
};

class PatternPaletteTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ToolSettings::ResetToDefaults();
        ToolSettings::tool = zk::kTilesTool;
        for (std::size_t i = 0; i < 16; ++i)
            lib.m_brushes[i] = Distinct(8, 8, static_cast<int>(10 * i));
    }
    void Send(QEvent::Type type, int x, int y, Qt::MouseButton b = Qt::LeftButton) {
        QMouseEvent e(type, QPointF(x, y), palette.mapToGlobal(QPointF(x, y)), b, b, {});
        QApplication::sendEvent(&palette, &e);
    }
    // A double-click brings a press first.
    void DoubleClick(int x, int y, Qt::MouseButton b = Qt::LeftButton) {
        Send(QEvent::MouseButtonPress, x, y, b);
        Send(QEvent::MouseButtonDblClick, x, y, b);
    }
    // The area (x, y, w, h) of the picture holds expected(dx, dy).
    void Expect(int x, int y, int w, int h, const Pixels& expected) const {
        for (int dy = 0; dy < h; ++dy)
            for (int dx = 0; dx < w; ++dx)
                ASSERT_EQ(palette.Picture().GetPixel(x + dx, y + dy), expected(dx, dy))
                    << x + dx << "," << y + dy;
    }
    void ExpectFace(int x, int y, int w, int h) const {
        Expect(x, y, w, h, [](int, int) { return kFace; });
    }

    zk::PatternLibrary lib;
    RecordingPalette palette{nullptr, lib};
};

TEST(PatternPaletteHitTest, PointsPickTheItemOfTheirTwentyPixelCell) {
    const int cases[][3] = {
        {0, 0, 0},    {19, 19, 0},   {18, 5, 0},   {20, 0, 1},    {159, 19, 7},  {0, 20, 8},
        {21, 21, 9},  {159, 39, 15}, {160, 0, -1}, {180, 2, -1},  {199, 39, -1}, {0, 40, -1},
        {80, 45, -1}, {5, -1, -1},   {-1, 5, -1},  {-25, 25, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CPatternPalette::HitTest(c[0], c[1]), c[2]) << c[0] << "," << c[1];
}

TEST_F(PatternPaletteTest, LeftChoosesTheFillRightTheSecondFillAndTheChoicesDoNotCount) {
    int changes = 0;
    palette.m_onChanged = [&] { ++changes; };
    Send(QEvent::MouseButtonPress, 62, 5);
    Send(QEvent::MouseButtonPress, 19, 39, Qt::RightButton);  // the gap below item 8
    Send(QEvent::MouseButtonPress, 19, 39, Qt::RightButton);  // no change, no call
    Send(QEvent::MouseButtonPress, 170, 5);
    Send(QEvent::MouseButtonPress, 185, 25, Qt::RightButton);
    EXPECT_EQ(ToolSettings::fill, 3);
    EXPECT_EQ(ToolSettings::secfill, 8);
    EXPECT_EQ(ToolSettings::symbol, 0);
    EXPECT_EQ(changes, 2);

    ToolSettings::tool = zk::kSymbolTool;
    Send(QEvent::MouseButtonPress, 150, 30);
    Send(QEvent::MouseButtonPress, 30, 5, Qt::RightButton);
    EXPECT_EQ(ToolSettings::symbol, 15);
    EXPECT_EQ(ToolSettings::fill, 3);
    EXPECT_EQ(ToolSettings::secfill, 8);
}

TEST_F(PatternPaletteTest, BrushesAreTiledTwoByTwoWithTheChoicesBesideThem) {
    ToolSettings::fill = 3;
    ToolSettings::secfill = 12;
    palette.Render();
    for (std::size_t i = 0; i < 16; ++i)
        Expect(20 * (i % 8) + 2, 20 * (i / 8) + 2, 16, 16, Tiled(lib.m_brushes[i]));
    Expect(180, 2, 16, 16, Tiled(lib.m_brushes[3]));
    Expect(180, 22, 16, 16, Tiled(lib.m_brushes[12]));
    ExpectFace(0, 18, 200, 4);
    ExpectFace(18, 0, 4, 40);
    ExpectFace(158, 0, 22, 40);
    EXPECT_EQ(palette.grab().toImage().pixel(62, 2) & 0xFFFFFF, lib.m_brushes[3].GetPixel(0, 0));
}

TEST_F(PatternPaletteTest, SymbolsAreCopiedOnceWithoutSecondarySwatch) {
    ToolSettings::tool = zk::kSymbolTool;
    ToolSettings::symbol = 6;
    lib.m_symbols[6] = Distinct(20, 20, 5);
    lib.m_symbols[7] = Distinct(10, 10, 6);
    palette.Render();
    Expect(122, 2, 18, 16, Once(lib.m_symbols[6]));  // its top-left 16 x 16, then background
    Expect(180, 2, 16, 16, Once(lib.m_symbols[6]));
    Expect(142, 2, 16, 16, Once(lib.m_symbols[7]));
    ExpectFace(180, 18, 20, 22);
}

TEST_F(PatternPaletteTest, OddBitmapsAndIndicesShowOnlyWhatExists) {
    lib.m_brushes[1] = Distinct(4, 3, 200);
    lib.m_brushes[2] = Distinct(12, 12, 100);
    lib.m_brushes[3] = gdi::Bitmap();
    ToolSettings::fill = 16;
    ToolSettings::secfill = -1;
    palette.Render();
    Expect(22, 2, 16, 16, [&](int dx, int dy) { return Once(lib.m_brushes[1])(dx % 8, dy % 8); });
    Expect(42, 2, 16, 16, Tiled(lib.m_brushes[2]));
    ExpectFace(62, 2, 16, 16);
    ExpectFace(160, 0, 40, 40);
    ToolSettings::tool = zk::kSymbolTool;
    ToolSettings::symbol = 99;
    palette.Render();
    ExpectFace(160, 0, 40, 40);
}

TEST_F(PatternPaletteTest, DoubleClickEditsBrushesOtherThanZeroAndEight) {
    DoubleClick(5, 5);
    DoubleClick(5, 25);
    EXPECT_EQ(ToolSettings::fill, 8);
    DoubleClick(170, 5);
    DoubleClick(25, 5, Qt::RightButton);
    EXPECT_TRUE(palette.edited.empty());
    DoubleClick(105, 25);
    EXPECT_EQ(ToolSettings::fill, 13);
    EXPECT_EQ(palette.edited, (std::vector<const gdi::Bitmap*>{&lib.m_brushes[13]}));

    ToolSettings::tool = zk::kSymbolTool;
    DoubleClick(5, 25);
    DoubleClick(175, 5);
    EXPECT_EQ(palette.editedSymbols, (std::vector<const gdi::Bitmap*>{&lib.m_symbols[8]}));
    EXPECT_EQ(palette.edited.size(), 1u);
}

TEST(PatternPaletteEditor, TheFillsEditorEditsTheLibraryBrushHoweverItCloses) {
    zk::PatternLibrary lib;
    lib.m_brushes[4] = gdi::Bitmap(8, 8, 32, gdi::kWhite);
    QWidget host;
    CPatternPalette palette(&host, lib);
    EXPECT_EQ(palette.geometry(), QRect(0, 0, 200, 40));
    const gdi::Bitmap* editing = nullptr;
    QTimer closer;  // acts once the editor's modal loop runs; gone with the test otherwise
    QObject::connect(&closer, &QTimer::timeout, [&] {
        closer.stop();
        if (auto* dlg = qobject_cast<zk::CFillsDlg*>(QApplication::activeModalWidget())) {
            editing = dlg->m_pBitmap;
            dlg->OnLButtonDown(0, 42 + 8 * 3, 10 + 8 * 5);
            dlg->reject();
        }
    });
    closer.start(0);
    ToolSettings::tool = zk::kTilesTool;
    palette.OnLButtonDblClk(85, 5);
    EXPECT_EQ(editing, &lib.m_brushes[4]);
    EXPECT_EQ(lib.m_brushes[4].GetPixel(3, 5), gdi::kBlack);
}

}  // namespace
