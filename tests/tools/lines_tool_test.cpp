#include "tools/lines_tool.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "support/picture.h"
#include "tools/tool_settings.h"
#include "view_harness.h"

namespace {

using zk::ToolSettings;
using zk_test::ViewHarness;

using zk_test::kYellow;

struct Lines : ViewHarness {
    explicit Lines(bool snapping = false) {
        Select(zk::kLinesTool);
        view->m_gridOn = snapping ? 1 : 0;
    }
};

TEST(LinesTool, EndsSnapToTheNearestGridPointAndTheEndPixelIsLeftOut) {
    Lines h(true);
    h.Drag(7, 9, 40, 41);
    EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 100, 100), 0) << "the map changed before the paint";
    h.Paint();
    // From (0, 16) toward (48, 48): one pixel in each column 0..47, rising steadily.
    EXPECT_EQ(h.Map(0, 16), gdi::kBlack);
    EXPECT_EQ(h.Map(48, 48), gdi::kWhite);
    EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 100, 100), 48);
    int lastRow = 16;
    for (int x = 0; x < 48; ++x) {
        ASSERT_EQ(h.CountMap(gdi::kBlack, x, 0, x + 1, 100), 1) << x;
        int row = 0;
        while (h.Map(x, row) != gdi::kBlack)
            ++row;
        EXPECT_TRUE(row == lastRow || row == lastRow + 1) << x;
        lastRow = row;
    }
    EXPECT_EQ(lastRow, 47);
    EXPECT_TRUE(h.doc.IsModified());
}

TEST(LinesTool, RubberBandShowsWhileDraggingAndTheLineReplacesItAtTheRelease) {
    Lines h;
    h.Move(10, 50);
    h.Press(10, 50);
    h.Move(60, 50, Qt::LeftButton);
    h.Paint();
    EXPECT_EQ(h.Window(30, 50), kYellow);
    EXPECT_EQ(h.Window(65, 50), kYellow) << "no cross at the pointer";
    EXPECT_EQ(h.Window(60, 45), kYellow) << "no cross at the pointer";
    EXPECT_NE(h.Window(61, 50), kYellow) << "the cross's centre is drawn";
    EXPECT_EQ(h.CountMap(kYellow, 0, 0, 100, 100), 0);
    EXPECT_EQ(h.Map(30, 50), gdi::kWhite);

    h.Release(60, 50);
    h.Paint();
    EXPECT_EQ(h.Window(30, 50), gdi::kBlack) << "the band stayed or the line is missing";
    EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 100, 100), 50);
    EXPECT_EQ(h.CountMap(gdi::kBlack, 10, 50, 60, 51), 50);
}

TEST(LinesTool, AnOldCrossIsErasedAtSmallZooms) {
    Lines h;
    h.view->OnZoomOut();
    h.view->OnZoomOut();  // 0.25
    h.Move(100, 100);
    h.Paint();
    // From here on only what the tool asks to repaint is painted again.
    QApplication::processEvents();
    ASSERT_EQ(h.Window(93, 100), kYellow);
    ASSERT_EQ(h.Window(100, 107), kYellow);
    h.Move(150, 100);
    QApplication::processEvents();
    EXPECT_NE(h.Window(93, 100), kYellow);
    EXPECT_NE(h.Window(100, 107), kYellow);
    EXPECT_EQ(h.Window(143, 100), kYellow);
}

TEST(LinesTool, ALineKeepsTheEndItWasReleasedAt) {
    Lines h;
    h.Drag(10, 80, 50, 80);
    // The pointer moves on before the paint comes.
    h.Move(50, 120);
    h.Move(90, 130);
    h.Paint();
    EXPECT_EQ(h.CountMap(gdi::kBlack, 10, 80, 50, 81), 40);
    EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 150, 150), 40);
}

TEST(LinesTool, QuickLinesBeforeOnePaintAllLand) {
    Lines h;
    // A black pixel under the white line, to see it.
    h.doc.m_bitmap.SetPixel(20, 30, gdi::kBlack);
    h.Drag(10, 20, 40, 20);
    h.Drag(10, 30, 40, 30, Qt::RightButton);
    h.Drag(10, 40, 40, 40);
    h.Paint();
    EXPECT_EQ(h.CountMap(gdi::kBlack, 10, 20, 40, 21), 30);
    EXPECT_EQ(h.Map(20, 30), gdi::kWhite) << "the white line is missing";
    EXPECT_EQ(h.CountMap(gdi::kBlack, 10, 40, 40, 41), 30);
}

TEST(LinesTool, RightButtonDrawsWhiteAndTheLastPressedButtonDecides) {
    Lines h;
    h.FillMap(0, 0, 150, 150, gdi::kBlack);
    h.Drag(10, 10, 60, 10, Qt::RightButton);
    h.Paint();
    EXPECT_EQ(h.CountMap(gdi::kWhite, 0, 0, 150, 150), 50);
    EXPECT_EQ(h.CountMap(gdi::kWhite, 10, 10, 60, 11), 50);

    // Left pressed, then right, then the left released: the line is white, from the second
    // press.
    h.Move(10, 30);
    h.Press(10, 30, Qt::LeftButton);
    h.Move(20, 30, Qt::LeftButton);
    h.Press(20, 30, Qt::RightButton);
    h.Move(40, 30, Qt::LeftButton | Qt::RightButton);
    h.Release(40, 30, Qt::LeftButton);
    h.Paint();
    EXPECT_EQ(h.CountMap(gdi::kWhite, 0, 30, 150, 31), 20);
    EXPECT_EQ(h.CountMap(gdi::kWhite, 20, 30, 40, 31), 20);
}

TEST(LinesTool, ClickWithoutMovingLeavesTheMapAsItWas) {
    for (int line : {0, 1}) {
        Lines h;
        ToolSettings::line = line;
        h.Click(30, 30);
        h.Paint();
        EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 100, 100), 0) << "line " << line;
    }
}

TEST(LinesTool, LineSizeSetsTheWidth) {
    const int rows[] = {1, 1, 2, 3};
    for (int line = 0; line <= 3; ++line) {
        Lines h;
        ToolSettings::line = line;
        h.Drag(16, 32, 64, 32);
        h.Paint();
        EXPECT_EQ(h.CountMap(gdi::kBlack, 40, 0, 41, 100), rows[line]) << "line " << line;
        EXPECT_EQ(h.Map(40, 32), gdi::kBlack) << "line " << line;
        EXPECT_EQ(h.Map(40, 30), gdi::kWhite) << "line " << line;
        // Thin lines leave out their end pixel; wide pens cover it with their round end.
        EXPECT_EQ(h.Map(64, 32), line < 2 ? gdi::kWhite : gdi::kBlack) << "line " << line;
    }
}

}  // namespace
