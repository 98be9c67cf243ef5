#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "doc/zk_doc.h"
#include "view/zk_view.h"

namespace {

// A 200 x 100 map: black left half, a white right half with one black column at x = 150.
void MakeMap(zk::CZKDoc& doc) {
    doc.NewMap(200, 100);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x)
            doc.m_bitmap.SetPixel(x, y, gdi::kBlack);
        doc.m_bitmap.SetPixel(150, y, gdi::kBlack);
    }
}

TEST(Printing, TheMapIsFittedCentredAndUndistortedWithoutBlending) {
    zk::CZKDoc doc;
    MakeMap(doc);
    // A page taller than the map's proportions: 2x across and 2x down, centred with white above
    // and below; and one wider than them: 3x, centred with white on both sides.
    const struct {
        QSize page;
        QRect map;
    } cases[] = {{{400, 300}, {0, 50, 400, 200}}, {{900, 300}, {150, 0, 600, 300}}};
    for (const auto& c : cases) {
        QImage page(c.page, QImage::Format_RGB32);
        page.fill(Qt::red);
        QPainter painter(&page);
        ASSERT_TRUE(zk::CZKView::RenderPage(doc, painter, QRect(QPoint(0, 0), c.page)));
        painter.end();
        int black = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QRgb p = page.pixel(x, y) & 0xFFFFFF;
                ASSERT_TRUE(p == 0 || p == 0xFFFFFF) << x << "," << y << ": blended or unpainted";
                black += p == 0;
                if (!c.map.contains(x, y)) {
                    ASSERT_EQ(p, 0xFFFFFFu) << x << "," << y << ": map outside its place";
                }
            }
        const int scale = c.map.width() / 200;
        EXPECT_EQ(black, (100 + 1) * scale * 100 * scale) << c.page.width();
        EXPECT_EQ(page.pixel(c.map.left() + 100 * scale - 1, c.map.top()) & 0xFFFFFF, 0u);
        EXPECT_EQ(page.pixel(c.map.left() + 100 * scale, c.map.top()) & 0xFFFFFF, 0xFFFFFFu);
    }
    EXPECT_EQ(zk::CZKView::FitCentred(200, 100, 401, 401), (gdi::Rect{0, 100, 401, 300}));
    EXPECT_EQ(zk::CZKView::FitCentred(1, 65535, 100, 100), (gdi::Rect{49, 0, 50, 100}));
}

TEST(Printing, APrintedMapIsOnePage) {
    zk::CZKDoc doc;
    MakeMap(doc);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("map.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setResolution(150);
    ASSERT_TRUE(zk::CZKView::PrintMap(doc, printer));
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    const QString text = QString::fromLatin1(bytes);
    EXPECT_EQ(text.count(QRegularExpression("/Type\\s*/Page[^s]")), 1);
    EXPECT_TRUE(text.contains("/Subtype /Image")) << "no picture on the page";
}

// The preview records the page and draws it later, when it paints: the page's picture must
// still be there then. Under the sanitizers a picture freed too early fails here.
TEST(Printing, ThePreviewShowsThePageOnEveryPageSize) {
    zk::CZKDoc doc;
    MakeMap(doc);
    struct Case {
        QPageSize::PageSizeId size;
        int dpi;
    };
    // From a small label to a large sheet at a high resolution (a picture at a fraction of it).
    const Case cases[] = {{QPageSize::A4, 300},
                          {QPageSize::Letter, 600},
                          {QPageSize::A6, 1200},
                          {QPageSize::A3, 600},
                          {QPageSize::EnvelopeDL, 72}};
    for (const Case& c : cases) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setResolution(c.dpi);
        printer.setPageSize(QPageSize(c.size));
        printer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPrintPreviewWidget preview(&printer);
        int pages = 0;
        QObject::connect(&preview, &QPrintPreviewWidget::paintRequested, [&](QPrinter* p) {
            EXPECT_TRUE(zk::CZKView::PrintMap(doc, *p));
            ++pages;
        });
        preview.resize(300, 400);
        preview.show();
        preview.updatePreview();
        preview.fitInView();
        QCoreApplication::processEvents();
        const QImage shot = preview.grab().toImage();
        ASSERT_GE(pages, 1) << QPageSize(c.size).name().toStdString();
        // The map's black half is on the page the preview shows.
        int black = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                black += (shot.pixel(x, y) & 0xFFFFFF) == 0;
        EXPECT_GT(black, shot.width() * shot.height() / 20)
            << QPageSize(c.size).name().toStdString() << " at " << c.dpi << " dpi";
    }
}

}  // namespace
