#include "tools/text_tool.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "support/picture.h"
#include "tools/tool_settings.h"
#include "ui/text_dlg.h"
#include "view_harness.h"

namespace {

using zk::CTextDlg;
using zk::ToolSettings;

using zk_test::kYellow;

// Runs `act` on the modal dialog of type D once its loop is running.
template <class D>
void WhenModal(std::function<void(D*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* d = qobject_cast<D*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(d);
        }
    });
    timer->start(10);
}

// Types `text` into the text dialog and confirms; records what the dialog opened with.
void Answer(const QString& text, QString* shown = nullptr) {
    WhenModal<CTextDlg>([text, shown](CTextDlg* d) {
        if (shown)
            *shown = d->Edit()->text();
        d->Edit()->setText(text);
        d->accept();
    });
}

struct TextHarness : zk_test::ViewHarness {
    TextHarness() { Select(zk::kTextTool); }
    zk::TextTool& Tool() { return view->m_textTool; }
};

// The second click writes the text black on an opaque white cell one pixel right of and below
// the snapped point; Czech letters come out as themselves.
TEST(TextTool, PlacesTheTextOnItsOpaqueCellRightOfAndBelowThePoint) {
    TextHarness h;
    h.FillMap(0, 0, 200, 100, gdi::kBlack);
    const gdi::Bitmap before = h.doc.m_bitmap;
    QString last;
    for (const char* word : {"Sklep", "Schodiště", "Věž"}) {
        QString shown;
        Answer(QString::fromUtf8(word), &shown);
        h.Click(10, 10);
        EXPECT_EQ(shown, last) << "the dialog did not open with the text entered last";
        last = QString::fromUtf8(word);
        ASSERT_EQ(h.Tool().m_floating, 1);
        h.Move(55, 39);  // nearest grid point: (48, 32)
        h.Press(55, 39);
        h.Paint();
        h.Release(55, 39);
        EXPECT_EQ(h.Tool().m_floating, 0);

        gdi::Bitmap expected = before;
        gdi::DC dc(&expected);
        dc.TextOut(49, 33, word);
        EXPECT_TRUE(zk_test::SamePixels(expected, h.doc.m_bitmap)) << word;
        const gdi::Point ext = dc.GetTextExtent(word);
        EXPECT_EQ(h.Map(49, 33 + ext.y - 1), gdi::kWhite) << word << ": no opaque cell";
        h.doc.m_bitmap = before;
    }
}

// The preview is the font scaled by the zoom; far out it stays the smallest font of its kind of
// height rather than becoming the default size that a height of 0 asks for.
TEST(TextTool, PreviewUsesTheFontScaledByTheZoom) {
    struct Case {
        gdi::LogFont font;
        float zoom;
        int height, width;
    };
    const Case cases[] = {
        {{16, 0, 700, false, ""}, 2.0f, 32, 0},     {{-11, 5, 400, true, ""}, 2.0f, -22, 10},
        {{16, 0, 700, false, ""}, 32.0f, 512, 0},   {{-11, 5, 400, true, ""}, 0.125f, -1, 0},
        {{16, 0, 700, false, ""}, 1.0f / 64, 1, 0}, {{-11, 5, 400, true, ""}, 1.0f / 64, -1, 0},
        {{0, 0, 400, false, ""}, 1.0f / 64, 0, 0},
    };
    for (const Case& c : cases) {
        zk::TextTool tool;
        tool.m_logFont = c.font;
        EXPECT_EQ(tool.PreviewFont(c.zoom).height, c.height) << c.font.height << " at " << c.zoom;
        EXPECT_EQ(tool.PreviewFont(c.zoom).width, c.width) << c.font.width << " at " << c.zoom;
    }

    TextHarness h;
    Answer(QStringLiteral("Věž"));
    h.Click(10, 10);
    h.ZoomTo(2.0f);
    h.Move(70, 70);  // map (35, 35), snapped to (32, 32)
    h.Paint();
    // Yellow ink where the doubled font has ink, on the window's white cell.
    gdi::Bitmap expected(h.view->WindowPicture().Width(), h.view->WindowPicture().Height(), 32,
                         gdi::kWhite);
    gdi::DC dc(&expected);
    dc.SelectFont(gdi::Font(h.Tool().PreviewFont(2.0f)));
    dc.SetTextColor(kYellow);
    dc.TextOut(65, 65, "Věž");
    const gdi::Point ext = dc.GetTextExtent("Věž");
    EXPECT_EQ(ext.y, 32);
    int yellow = 0;
    for (int y = 65; y < 65 + ext.y; ++y)
        for (int x = 65; x < 65 + ext.x; ++x) {
            EXPECT_EQ(h.Window(x, y), expected.GetPixel(x, y)) << x << "," << y;
            yellow += h.Window(x, y) == kYellow;
        }
    EXPECT_GT(yellow, 30);
    EXPECT_EQ(h.CountMap(kYellow, 0, 0, 300, 200), 0);
}

// The font button writes into the tool's font at once: a cancelled text dialog keeps it.
TEST(TextTool, FontChosenSurvivesACancelledDialog) {
    TextHarness h;
    h.Tool().m_text = "Sklep";
    bool effectsShown = true;
    WhenModal<CTextDlg>([&effectsShown](CTextDlg* d) {
        WhenModal<QFontDialog>([&effectsShown](QFontDialog* f) {
            effectsShown = false;
            for (QCheckBox* box : f->findChildren<QCheckBox*>())
                effectsShown = effectsShown || box->isVisible();
            QFont font(QStringLiteral("DejaVu Serif"));
            font.setPointSize(15);
            font.setItalic(true);
            f->setCurrentFont(font);
            f->accept();
        });
        d->FontButton()->click();
        d->Edit()->setText(QStringLiteral("Věž"));
        d->reject();
    });
    h.Click(10, 10);
    EXPECT_FALSE(effectsShown) << "underline and strike-out offered";
    const gdi::LogFont& lf = h.Tool().m_logFont;
    EXPECT_EQ(lf.faceName, "DejaVu Serif");
    EXPECT_EQ(lf.height, -20);  // 15 points at 96 pixels per inch
    EXPECT_TRUE(lf.italic);
    EXPECT_EQ(h.Tool().m_text, "Sklep");
    EXPECT_EQ(h.Tool().m_floating, 0);
    // The next font dialog starts from it.
    EXPECT_EQ(CTextDlg::FromQFont(CTextDlg::ToQFont(lf)), lf);
}

}  // namespace
