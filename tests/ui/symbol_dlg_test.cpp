#include "ui/symbol_dlg.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <vector>

#include "support/picture.h"
#include "tools/map_tool.h"

namespace {

using zk::CSymbolDlg;
using T = CSymbolDlg::Transform;

using zk_test::kRed;
constexpr gdi::Color kGrey = gdi::RGB(1, 1, 1);

gdi::Bitmap Asymmetric() {
    gdi::Bitmap s(16, 16, 32, gdi::kWhite);
    for (int x = 0; x < 16; ++x)
        s.SetPixel(x, 0, gdi::kBlack);
    s.SetPixel(3, 5, gdi::kBlack);
    s.SetPixel(3, 6, gdi::kBlack);
    return s;
}

gdi::Bitmap Apply(const gdi::Bitmap& start, const std::vector<T>& steps) {
    gdi::Bitmap s = start;
    CSymbolDlg dlg;
    dlg.m_pBitmap = &s;
    dlg.Render();
    for (T t : steps) {
        dlg.Button(t)->click();
        dlg.Render();
    }
    return s;
}

TEST(SymbolDlg, TurnsAndMirrorsAndTheirRoundTrips) {
    const gdi::Bitmap s = Asymmetric();
    struct Case {
        std::vector<T> steps;
        int edgeX, edgeY;  // a pixel of where the top row goes (-1: the row/column is any)
        int markX, markY;  // where the mark (3, 5) goes
    };
    const Case cases[] = {
        {{T::RotateLeft}, 0, -1, 5, 12},
        {{T::RotateRight}, 15, -1, 10, 3},
        {{T::MirrorLeftRight}, -1, 0, 12, 5},
        {{T::MirrorTopBottom}, -1, 15, 3, 10},
    };
    for (const Case& c : cases) {
        const gdi::Bitmap r = Apply(s, c.steps);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(r.GetPixel(c.edgeX < 0 ? i : c.edgeX, c.edgeY < 0 ? i : c.edgeY), gdi::kBlack)
                << zk_test::BitmapText(r);
        EXPECT_EQ(r.GetPixel(c.markX, c.markY), gdi::kBlack) << zk_test::BitmapText(r);
        EXPECT_NE(r, s);
    }
    const std::vector<T> roundTrips[] = {
        {T::RotateLeft, T::RotateLeft, T::RotateLeft, T::RotateLeft},
        {T::RotateLeft, T::RotateRight},
        {T::MirrorLeftRight, T::MirrorLeftRight},
        {T::MirrorTopBottom, T::MirrorTopBottom},
    };
    for (const auto& steps : roundTrips)
        EXPECT_TRUE(zk_test::SamePixels(s, Apply(s, steps)));
}

TEST(SymbolDlg, ATurnWritesPureBlackAndWhiteACellEditOnlyItsPixel) {
    gdi::Bitmap s = Asymmetric();
    s.SetPixel(8, 8, kRed);
    s.SetPixel(9, 9, kGrey);

    // A cell edit: the preview and the enlarged grid show the real colours, the edited pixel
    // becomes pure black or white, the others stay.
    gdi::Bitmap edited = s;
    CSymbolDlg dlg;
    dlg.m_pBitmap = &edited;
    dlg.Render();
    EXPECT_EQ(dlg.Picture().GetPixel(10 + 8, 10 + 8), kRed);
    EXPECT_EQ(dlg.Picture().GetPixel(42 + 8 * 8 + 4, 10 + 8 * 8 + 4), kRed);
    EXPECT_EQ(dlg.Picture().GetPixel(42 + 8 * 8, 10 + 8 * 8 + 4), gdi::kBlack) << "grid line";
    dlg.OnLButtonDown(zk::MK_LBUTTON, 42 + 8 * 2 + 3, 10 + 8 * 7 + 3);
    dlg.OnRButtonDown(zk::MK_RBUTTON, 42 + 8 * 3 + 1, 10 + 8 * 5 + 1);
    // A drag with Shift paints nothing; with the one button, every cell it passes.
    dlg.OnMouseMove(zk::MK_LBUTTON | zk::MK_SHIFT, 42 + 8 * 12, 10 + 8 * 12);
    dlg.OnMouseMove(zk::MK_LBUTTON | zk::MK_RBUTTON, 42 + 8 * 13, 10 + 8 * 12);
    dlg.OnMouseMove(zk::MK_LBUTTON, 42 + 8 * 5, 10 + 8 * 12);
    dlg.OnMouseMove(zk::MK_LBUTTON, 42 + 8 * 6, 10 + 8 * 12);
    dlg.Render();
    gdi::Bitmap expected = s;
    expected.SetPixel(2, 7, gdi::kBlack);
    expected.SetPixel(3, 5, gdi::kWhite);
    expected.SetPixel(5, 12, gdi::kBlack);
    expected.SetPixel(6, 12, gdi::kBlack);
    EXPECT_TRUE(zk_test::SamePixels(expected, edited));

    // A turn there and back writes all 256 pixels: what was not exactly black is white now.
    const gdi::Bitmap turned = Apply(s, {T::RotateLeft, T::RotateRight});
    expected = s;
    expected.SetPixel(8, 8, gdi::kWhite);
    expected.SetPixel(9, 9, gdi::kWhite);
    EXPECT_TRUE(zk_test::SamePixels(expected, turned));
}

TEST(SymbolDlg, ReturnClosesItWithTheEditsInTheSymbol) {
    gdi::Bitmap s(16, 16, 1, gdi::kWhite);
    CSymbolDlg dlg;
    dlg.m_pBitmap = &s;
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Symbol"));
    // The buttons stand clear of the enlarged symbol, and their labels fit.
    for (T t : {T::RotateLeft, T::RotateRight, T::MirrorLeftRight, T::MirrorTopBottom}) {
        EXPECT_GE(dlg.Button(t)->geometry().left(), CSymbolDlg::kGridRect.right);
        EXPECT_GE(dlg.Button(t)->width(), dlg.Button(t)->sizeHint().width());
        EXPECT_LE(dlg.Button(t)->geometry().right(), dlg.width());
    }
    dlg.OnLButtonDown(zk::MK_LBUTTON, 42, 10);
    QTest::keyClick(&dlg, Qt::Key_Return);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(s.GetPixel(0, 0), gdi::kBlack) << "an edit not yet painted was lost";
}

}  // namespace
