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

TEST(Printing, TheMapIsStretchedOverTheWholePageWithoutBlending) {
    zk::CZKDoc doc;
    MakeMap(doc);
    QImage page(400, 300, QImage::Format_RGB32);
    page.fill(Qt::red);
    QPainter painter(&page);
    ASSERT_TRUE(zk::CZKView::RenderPage(doc, painter, QRect(0, 0, 400, 300)));
    painter.end();
    // Every pixel is black or white (nothing blended), the whole page is covered, and the
    // aspect ratio is not kept: 2x across, 3x down.
    int black = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) {
            const QRgb c = page.pixel(x, y) & 0xFFFFFF;
            ASSERT_TRUE(c == 0 || c == 0xFFFFFF) << x << "," << y;
            black += c == 0;
        }
    EXPECT_EQ(black, 200 * 300 + 2 * 300);
    EXPECT_EQ(page.pixel(199, 299) & 0xFFFFFF, 0u);
    EXPECT_EQ(page.pixel(200, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(page.pixel(300, 150) & 0xFFFFFF, 0u);
    EXPECT_EQ(page.pixel(302, 150) & 0xFFFFFF, 0xFFFFFFu);
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
