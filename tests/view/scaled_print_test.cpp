// The print at true scale: the cells' size on a rendered page, the PDF's pages, and its dialog.
#include "view/scaled_print.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <vector>

#include "doc/zk_doc.h"
#include "ui/scaled_print_dlg.h"

namespace {

// A map of `cols` x `rows` cells of 16 pixels with a black line on every grid column and row.
void GridMap(zk::CZKDoc& doc, int cols, int rows) {
    ASSERT_TRUE(doc.NewMap(cols * 16, rows * 16));
    for (int y = 0; y < rows * 16; ++y)
        for (int x = 0; x < cols * 16; ++x)
            if (x % 16 == 0 || y % 16 == 0)
                doc.m_bitmap.SetPixel(x, y, gdi::kBlack);
}

QPageLayout A4(QPageLayout::Orientation o = QPageLayout::Portrait) {
    return QPageLayout(QPageSize(QPageSize::A4), o, QMarginsF(0, 0, 0, 0));
}

TEST(ScaledPrint, ACellOfAnInchMeasures254PixelsAt254Dpi) {
    zk::CZKDoc doc;
    GridMap(doc, 40, 30);
    const zk::ScaledPrint print(doc.m_bitmap, 16, {25.4, true, 0}, A4());
    ASSERT_EQ(print.Layout().error, "");
    EXPECT_EQ(print.PageCount(), 1 + 6 * 3);
    // A4 at 254 dpi: 2100 x 2970 pixels, ten to a millimetre.
    for (const int index : {1, 8, 18}) {
        QImage page(2100, 2970, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        print.PaintPage(painter, index, 254);
        painter.end();
        // The left edges of the grid's black columns along a row inside the first cell row.
        const int y = static_cast<int>(zk::ScaledPrint::kSideMm * 10) + 100;
        std::vector<int> edges;
        for (int x = 1; x < page.width(); ++x)
            if ((page.pixel(x, y) & 0xFFFFFF) == 0 && (page.pixel(x - 1, y) & 0xFFFFFF) != 0)
                edges.push_back(x);
        ASSERT_GE(edges.size(), 3u) << "page " << index;
        for (std::size_t i = 1; i < edges.size(); ++i)
            EXPECT_NEAR(edges[i] - edges[i - 1], 254, 1) << "page " << index << " cell " << i;
    }
}

TEST(ScaledPrint, ThePdfHasTheAssemblyPageAndEveryMapPage) {
    zk::CZKDoc doc;
    GridMap(doc, 40, 30);
    const struct {
        QPageLayout page;
        int overlap;
        int pages;
    } cases[] = {
        {A4(), 0, 1 + 18}, {A4(QPageLayout::Landscape), 0, 1 + 4 * 5}, {A4(), 1, 1 + 7 * 4}};
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString file = dir.filePath("map.pdf");
        const zk::ScaledPrint print(doc.m_bitmap, 16, {25.4, true, c.overlap}, c.page);
        ASSERT_EQ(print.PageCount(), c.pages);
        QString why;
        ASSERT_TRUE(print.WritePdf(file, &why)) << why.toStdString();
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromLatin1(f.readAll());
        EXPECT_EQ(text.count(QRegularExpression("/Type\\s*/Page[^s]")), c.pages);
        // A4 in points, the long side down or across.
        const bool landscape = c.page.orientation() == QPageLayout::Landscape;
        EXPECT_TRUE(
            text.contains(landscape ? QRegularExpression("/MediaBox \\[0 0 84[12]\\.?\\d* 59[45]")
                                    : QRegularExpression("/MediaBox \\[0 0 59[45]\\.?\\d* 84[12]")))
            << "page size";
        // The map's pictures are scaled without smoothing.
        EXPECT_FALSE(text.contains("/Interpolate true"));
    }
    // A folder that is not there: said, and nothing written.
    QString why;
    const zk::ScaledPrint print(doc.m_bitmap, 16, {}, A4());
    EXPECT_FALSE(print.WritePdf(QStringLiteral("/nonexistent-zk/map.pdf"), &why));
    EXPECT_FALSE(why.isEmpty());
}

TEST(ScaledPrintDialog, ShowsThePagesAndKeepsTheCellWhenTheUnitChanges) {
    QPrinter printer;
    printer.setPageSize(QPageSize(QPageSize::A4));
    zk::CZKDoc doc;
    GridMap(doc, 40, 30);
    const auto summary = [&](const zk::ScaledPrintOptions& o) {
        const zk::ScaledPrint print(doc.m_bitmap, 16, o, printer.pageLayout());
        return zk::CScaledPrintDlg::Summary{print.Summary(), print.PageCount()};
    };
    zk::CScaledPrintDlg dialog(printer, summary, {});
    EXPECT_DOUBLE_EQ(dialog.Options().cellMm, 25.4);
    EXPECT_TRUE(dialog.CutBox()->isChecked());
    EXPECT_EQ(dialog.OverlapEdit()->maximum(), 3);
    EXPECT_TRUE(dialog.SummaryLabel()->text().contains(QString::fromUtf8("×")));
    dialog.UnitBox()->setCurrentIndex(1);
    EXPECT_NEAR(dialog.CellEdit()->value(), 1.0, 1e-9) << "an inch";
    EXPECT_NEAR(dialog.Options().cellMm, 25.4, 1e-9);
    dialog.CellEdit()->setValue(0.5);
    EXPECT_NEAR(dialog.Options().cellMm, 12.7, 1e-9);
    // A cell larger than the paper: said, and nothing to print.
    dialog.UnitBox()->setCurrentIndex(0);
    dialog.CellEdit()->setValue(400);
    EXPECT_FALSE(dialog.PrintButton()->isEnabled());
    EXPECT_FALSE(dialog.PreviewButton()->isEnabled());
    EXPECT_TRUE(dialog.SummaryLabel()->text().contains(QString::fromUtf8("nelze")));
}

}  // namespace
