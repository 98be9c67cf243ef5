// The brush editor: which cell a point edits, when and where an edit lands in the brush, which
// drags edit, and the picture it shows.
#include "ui/fills_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>
#include <vector>

namespace {

using zk::CFillsDlg;

// No black or white pixel, each its own colour.
gdi::Bitmap Colours(int w, int h) {
    gdi::Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, gdi::RGB(20 * x + 10, 20 * y + 10, 99));
    return b;
}

class FillsDlgTest : public ::testing::Test {
  protected:
    void SetUp() override { dlg.m_pBitmap = &brush; }
    // An event at the middle of cell (x, y).
    void Send(QEvent::Type type, int x, int y, Qt::MouseButtons held, Qt::MouseButton button,
              Qt::KeyboardModifiers mods = {}) {
        const QPointF p(42 + 8 * x + 4, 10 + 8 * y + 4);
        QMouseEvent e(type, p, dlg.mapToGlobal(p), button, held, mods);
        QApplication::sendEvent(&dlg, &e);
    }
    void Press(int x, int y, Qt::MouseButton b, Qt::KeyboardModifiers mods = {}) {
        Send(QEvent::MouseButtonPress, x, y, b, b, mods);
    }
    void Move(int x, int y, Qt::MouseButtons held, Qt::KeyboardModifiers mods = {}) {
        Send(QEvent::MouseMove, x, y, held, Qt::NoButton, mods);
    }
    // The brush differs from the original exactly at `changed`, which holds `colour`.
    void ExpectEdited(std::vector<gdi::Point> changed, gdi::Color colour) const {
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool edited =
                    std::find(changed.begin(), changed.end(), gdi::Point{x, y}) != changed.end();
                EXPECT_EQ(brush.GetPixel(x, y), edited ? colour : original.GetPixel(x, y))
                    << x << "," << y;
            }
    }

    const gdi::Bitmap original = Colours(8, 8);
    gdi::Bitmap brush = original;
    CFillsDlg dlg;
};

TEST(FillsDlgCells, ClientPointsMapToCellsByTruncatingDivision) {
    const int cases[][4] = {
        {42, 10, 0, 0}, {49, 17, 0, 0}, {50, 10, 1, 0}, {105, 73, 7, 7},
        {35, 40, 0, 3}, {60, 3, 2, 0},  {35, 3, 0, 0},  {34, 40, -1},
        {60, 2, -1},    {106, 20, -1},  {60, 74, -1},   {-30, 12, -1},
    };
    for (const auto& c : cases) {
        const auto cell = CFillsDlg::CellAt(c[0], c[1]);
        EXPECT_EQ(cell.value_or(gdi::Point{-1, 0}), (gdi::Point{c[2], c[3]}))
            << c[0] << "," << c[1];
    }
}

TEST_F(FillsDlgTest, APressIsWrittenIntoTheBrushAtTheNextRender) {
    Press(2, 5, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(dlg.m_lastCell, (gdi::Point{2, 5}));
    ExpectEdited({}, 0);
    dlg.Render();
    EXPECT_EQ(dlg.m_lastCell, (gdi::Point{-1, -1}));
    ExpectEdited({{2, 5}}, gdi::kBlack);
    Press(2, 5, Qt::RightButton);
    dlg.Render();
    ExpectEdited({{2, 5}}, gdi::kWhite);
}

TEST_F(FillsDlgTest, DragsWithOneButtonAloneEditEveryCellPassed) {
    // The pointer outruns the repaints: all three cells wait for the same render.
    Press(0, 0, Qt::LeftButton);
    Move(1, 0, Qt::LeftButton);
    Move(2, 1, Qt::LeftButton);
    Move(3, 3, Qt::LeftButton, Qt::ControlModifier);
    Move(4, 4, Qt::LeftButton, Qt::ShiftModifier);
    Move(5, 5, Qt::LeftButton | Qt::RightButton);
    Move(6, 6, Qt::RightButton | Qt::BackButton);
    Move(7, 7, Qt::NoButton);
    dlg.Render();
    ExpectEdited({{0, 0}, {1, 0}, {2, 1}}, gdi::kBlack);
}

TEST_F(FillsDlgTest, ClosingKeepsAnEditNotYetPainted) {
    Press(6, 2, Qt::LeftButton);
    dlg.reject();
    ExpectEdited({{6, 2}}, gdi::kBlack);
}

TEST_F(FillsDlgTest, BrushesOfOtherSizesAreEditedOnlyWhereTheyHavePixels) {
    gdi::Bitmap small = Colours(5, 3);
    const gdi::Bitmap before = small;
    dlg.m_pBitmap = &small;
    Press(6, 1, Qt::LeftButton);
    Press(1, 6, Qt::LeftButton);
    dlg.Render();
    EXPECT_EQ(small, before);
    Press(4, 2, Qt::LeftButton);
    dlg.Render();
    EXPECT_EQ(small.GetPixel(4, 2), gdi::kBlack);
    const gdi::Bitmap& pic = dlg.Picture();
    const gdi::Color face = pic.GetPixel(0, 0);
    EXPECT_EQ(pic.GetPixel(18 + 4, 18 + 2), small.GetPixel(4, 2));
    EXPECT_EQ(pic.GetPixel(18 + 5, 18 + 2), face);
    EXPECT_EQ(pic.GetPixel(42 + 8 * 4 + 4, 10 + 8 * 2 + 4), small.GetPixel(4, 2));
    EXPECT_EQ(pic.GetPixel(42 + 8 * 4 + 4, 10 + 8 * 3 + 4), face);
}

TEST_F(FillsDlgTest, ShowsThePreviewTheEnlargedBrushAndTheGrid) {
    Press(5, 6, Qt::LeftButton);
    dlg.Render();
    const gdi::Bitmap& pic = dlg.Picture();
    ASSERT_EQ(pic.Width(), dlg.width());
    for (int dy = 0; dy < 16; ++dy)
        for (int dx = 0; dx < 16; ++dx)
            ASSERT_EQ(pic.GetPixel(10 + dx, 10 + dy), brush.GetPixel(dx % 8, dy % 8));
    // Each brush pixel is an 8 x 8 cell, its first row and column under the grid lines, which
    // run from (42, 10) up to but not including 106 and 74 (the corner (106, 74) stays clear).
    const gdi::Color face = pic.GetPixel(0, 0);
    for (int y = 10; y <= 74; ++y)
        for (int x = 42; x <= 106; ++x) {
            const bool line = (x - 42) % 8 == 0 || (y - 10) % 8 == 0;
            const gdi::Color cell = brush.GetPixel((x - 42) / 8, (y - 10) / 8);
            ASSERT_EQ(pic.GetPixel(x, y), x == 106 && y == 74 ? face
                                          : line              ? gdi::kBlack
                                                              : cell)
                << x << "," << y;
        }
    EXPECT_EQ(pic.GetPixel(42 + 8 * 5 + 1, 10 + 8 * 6 + 1), gdi::kBlack);
    EXPECT_NE(face, gdi::kBlack);
    for (const gdi::Point p : {gdi::Point{107, 40}, {60, 75}, {41, 30}, {26, 10}, {9, 9}})
        EXPECT_EQ(pic.GetPixel(p.x, p.y), face) << p.x << "," << p.y;
}

TEST(FillsDlgLayout, CaptionAndButtons) {
    CFillsDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8("Výplně"));
    EXPECT_TRUE(dlg.OkButton()->isDefault());
    EXPECT_EQ(dlg.CancelButton()->text(), QStringLiteral("Storno"));
    EXPECT_TRUE(dlg.CancelButton()->isHidden());
    EXPECT_GE(dlg.OkButton()->geometry().left(), 106);  // clear of the editing area
}

}  // namespace
