// Printing: the whole map on one page, fitted to the printable area; and at true scale across
// pages.
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <algorithm>
#include <memory>

#include "doc/bitmap_file.h"
#include "tools/tool_settings.h"
#include "ui/scaled_print_dlg.h"
#include "view/scaled_print.h"
#include "view/zk_view.h"

namespace zk {

namespace {

// The page is drawn through a picture of at most this many pixels; a larger page (a high
// printer resolution) gets the picture at a whole fraction of its resolution, enlarged by the
// printer without smoothing, so the pixels stay crisp either way.
constexpr long long kMaxPagePixels = 1LL << 26;

}  // namespace

gdi::Rect CZKView::FitCentred(int width, int height, int areaWidth, int areaHeight) {
    if (width < 1 || height < 1 || areaWidth < 1 || areaHeight < 1)
        return {};
    // The larger side decides: width / height against the area's, in 64 bits.
    const long long wide = static_cast<long long>(width) * areaHeight;
    const long long tall = static_cast<long long>(height) * areaWidth;
    int w = areaWidth, h = areaHeight;
    if (wide >= tall)
        h = std::max(1LL, static_cast<long long>(height) * areaWidth / width);
    else
        w = std::max(1LL, static_cast<long long>(width) * areaHeight / height);
    const int x = (areaWidth - w) / 2, y = (areaHeight - h) / 2;
    return {x, y, x + w, y + h};
}

bool CZKView::RenderPage(const CZKDoc& doc, QPainter& painter, const QRect& page) {
    if (page.isEmpty() || doc.m_bitmap.IsNull())
        return false;
    const std::optional<std::vector<std::uint8_t>> dib = BitmapToDib(doc.m_bitmap);
    if (!dib)
        return false;
    int factor = 1;
    while (static_cast<long long>(page.width() / factor) * (page.height() / factor) >
           kMaxPagePixels)
        ++factor;
    const int w = std::max(1, page.width() / factor);
    const int h = std::max(1, page.height() / factor);
    auto picture = std::make_unique<gdi::Bitmap>(w, h, 32, gdi::kWhite);
    if (picture->IsNull())
        return false;
    {
        gdi::DC dc(picture.get());
        // The map as large as the printable area allows, centred, its cells kept square: a
        // stretch to the whole area would turn them into rectangles. Rows and columns are
        // repeated or dropped, never blended (colour-on-colour stretching).
        const gdi::Rect fitted = FitCentred(doc.m_width, doc.m_height, w, h);
        if (PaintDib(dc, fitted, *dib, {0, 0, doc.m_width, doc.m_height}) == 0)
            return false;
    }
    // The image's format wants the top byte set: a page drawn through a preview's recorded
    // picture would otherwise come out transparent.
    gdi::Color* px = picture->Data();
    for (std::size_t i = 0, n = picture->PixelCount(); i < n; ++i)
        px[i] |= 0xFF000000u;
    // The image owns the picture's pixels: a print preview records the image and draws it
    // later, long after this call has returned, so the pixels must live as long as any copy of
    // the image does.
    gdi::Bitmap* pixels = picture.release();
    const QImage image(
        reinterpret_cast<uchar*>(pixels->Data()), w, h, w * 4, QImage::Format_RGB32,
        [](void* info) { delete static_cast<gdi::Bitmap*>(info); }, pixels);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(page, image);
    painter.restore();
    return true;
}

bool CZKView::PrintMap(const CZKDoc& doc, QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    // The painter's origin is the printable area's corner.
    const bool ok = RenderPage(doc, painter, QRect(QPoint(0, 0), page.size()));
    painter.end();
    return ok;
}

bool CZKView::OnPrint(QPrinter& printer) {
    return PrintMap(*m_doc, printer);
}

QPrinter& CZKView::Printer() {
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void CZKView::OnFilePrint() {
    LandSelection();
    QPrinter& printer = Printer();
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, 1);
    if (dialog.exec() != QDialog::Accepted)
        return;
    OnPrint(printer);
}

void CZKView::OnFilePrintScaled() {
    LandSelection();
    if (!AskScaledPrint(tr("Tisk")))
        return;
    QPrinter& printer = Printer();
    QPrintDialog choose(&printer, this);
    if (choose.exec() != QDialog::Accepted)
        return;
    ScaledPrint(m_doc->m_bitmap, ToolSettings::GridStep(), m_scaledOptions, printer.pageLayout())
        .Print(printer);
}

bool CZKView::AskScaledPrint(const QString& action) {
    QPrinter& printer = Printer();
    const int grid = ToolSettings::GridStep();
    const auto scaled = [this, &printer, grid](const ScaledPrintOptions& o) {
        return ScaledPrint(m_doc->m_bitmap, grid, o, printer.pageLayout());
    };
    CScaledPrintDlg dialog(
        printer,
        [&scaled](const ScaledPrintOptions& o) {
            const ScaledPrint print = scaled(o);
            return CScaledPrintDlg::Summary{print.Summary(), print.PageCount()};
        },
        [this, &printer, &scaled](const ScaledPrintOptions& o) {
            QPrintPreviewDialog preview(&printer, this);
            connect(&preview, &QPrintPreviewDialog::paintRequested, this,
                    [&scaled, o](QPrinter* p) { scaled(o).Print(*p); });
            preview.exec();
        },
        this);
    dialog.SetOptions(m_scaledOptions);
    dialog.PrintButton()->setText(action);
    const int result = dialog.exec();
    m_scaledOptions = dialog.Options();
    return result == QDialog::Accepted;
}

void CZKView::OnFilePrintPreview(int& pages) {
    LandSelection();
    QPrintPreviewDialog preview(&Printer(), this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { OnPrint(*printer); });
    auto* widget = preview.findChild<QPrintPreviewWidget*>();
    if (widget && pages == 2)
        widget->setViewMode(QPrintPreviewWidget::FacingPagesView);
    preview.exec();
    if (widget)
        pages = widget->viewMode() == QPrintPreviewWidget::FacingPagesView ? 2 : 1;
}

}  // namespace zk
