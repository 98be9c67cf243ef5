#include "view/scaled_print.h"

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <algorithm>

#include "doc/atomic_file.h"
#include "ui/reasons.h"
#include "ui/window_picture.h"
#include "view/zk_view.h"

namespace zk {

namespace {

constexpr double kMmPerInch = 25.4;

}  // namespace

ScaledPrint::ScaledPrint(const gdi::Bitmap& map, int grid, const ScaledPrintOptions& options,
                         const QPageLayout& page)
    : m_map(map), m_grid(grid), m_page(page) {
    const QRectF paint = page.paintRect(QPageLayout::Millimeter);
    m_areaMm = QRectF(paint.left() + kSideMm, paint.top() + kSideMm, paint.width() - 2 * kSideMm,
                      paint.height() - kSideMm - kFootMm);
    PageLayoutRequest r;
    r.mapWidth = map.Width();
    r.mapHeight = map.Height();
    r.grid = grid;
    r.cellMm = options.cellMm;
    r.areaWidthMm = std::max(0.0, m_areaMm.width());
    r.areaHeightMm = std::max(0.0, m_areaMm.height());
    r.cutOnGrid = options.cutOnGrid;
    r.overlapCells = options.overlapCells;
    m_layout = LayOutPages(r);
}

int ScaledPrint::PageCount() const {
    return m_layout.error.empty() ? 1 + static_cast<int>(m_layout.pages.size()) : 0;
}

QString ScaledPrint::Summary() const {
    if (!m_layout.error.empty())
        return tr("Takto mapu vytisknout nelze: %1.").arg(TranslatedReason(m_layout.error));
    return tr("%n stran (%1 × %2) a přehled", nullptr, static_cast<int>(m_layout.pages.size()))
        .arg(m_layout.columns)
        .arg(m_layout.rows);
}

bool ScaledPrint::Print(QPagedPaintDevice& device) const {
    if (PageCount() == 0)
        return false;
    device.setPageLayout(m_page);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double dpi = device.logicalDpiX();
    for (int i = 0; i < PageCount(); ++i) {
        if (i > 0 && !device.newPage())
            return false;
        PaintPage(painter, i, dpi);
    }
    return painter.end();
}

bool ScaledPrint::WritePdf(const QString& path, QString* why) const {
    const auto fail = [why](const QString& text) {
        if (why)
            *why = text;
        return false;
    };
    if (PageCount() == 0)
        return fail(QString::fromStdString(m_layout.error));
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setCreator(QStringLiteral("ZK"));
        // Fine enough for the marks and the text; the map's pictures keep their own pixels.
        pdf.setResolution(600);
        if (!Print(pdf))
            return fail(QStringLiteral("cannot make the PDF pages"));
    }
    std::string error;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    if (!AtomicFile::Replace(path.toStdString(), {data, static_cast<std::size_t>(bytes.size())},
                             &error))
        return fail(QString::fromStdString(error));
    return true;
}

void ScaledPrint::PaintPage(QPainter& painter, int index, double dpi) const {
    const double px = dpi / kMmPerInch;  // device pixels per mm
    painter.save();
    // The painter's origin is the printable area's corner; ours is the paper's.
    const QRectF paint = m_page.paintRect(QPageLayout::Millimeter);
    painter.translate(-paint.left() * px, -paint.top() * px);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (index == 0)
        PaintOverview(painter, px);
    else
        PaintMapPage(painter, index, px);
    painter.restore();
}

void ScaledPrint::PaintMapPage(QPainter& painter, int index, double px) const {
    const MapPage& page = m_layout.pages[static_cast<std::size_t>(index - 1)];
    const QImage part = ImageOf(m_map, page.map);
    // Each map pixel an exact block of pixelMm: the picture at its own resolution, scaled by
    // the page without smoothing.
    const QRectF target(m_areaMm.left() * px, m_areaMm.top() * px,
                        page.map.Width() * m_layout.pixelMm * px,
                        page.map.Height() * m_layout.pixelMm * px);
    painter.drawImage(target, part);

    // Crop marks: short lines pointing away from each corner of the map part.
    QPen pen(Qt::black);
    pen.setWidthF(0.2 * px);
    painter.setPen(pen);
    const double gap = 1 * px, len = 5 * px;
    for (const QPointF c :
         {target.topLeft(), target.topRight(), target.bottomLeft(), target.bottomRight()}) {
        const double sx = c.x() == target.left() ? -1 : 1;
        const double sy = c.y() == target.top() ? -1 : 1;
        painter.drawLine(QPointF(c.x() + sx * gap, c.y()),
                         QPointF(c.x() + sx * (gap + len), c.y()));
        painter.drawLine(QPointF(c.x(), c.y() + sy * gap),
                         QPointF(c.x(), c.y() + sy * (gap + len)));
    }
    PaintFoot(painter, px, QString::fromStdString(PageName(page.row, page.column)), index + 1);
}

void ScaledPrint::PaintFoot(QPainter& painter, double px, const QString& name, int number) const {
    const QRectF paint = m_page.paintRect(QPageLayout::Millimeter);
    const double left = m_areaMm.left() * px;
    const double top = (paint.bottom() - kFootMm + 4) * px;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(1, static_cast<int>(4 * px)));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(left, top + 4 * px), name);
    font.setBold(false);
    font.setPixelSize(std::max(1, static_cast<int>(3 * px)));
    painter.setFont(font);
    painter.drawText(QPointF(left + 20 * px, top + 4 * px),
                     tr("strana %1 z %2").arg(number).arg(PageCount()));
    // The bar: exactly kCalibrationMm between the outer edges of its end ticks.
    const double y = top + 9 * px;
    const double x0 = left, x1 = left + kCalibrationMm * px;
    painter.fillRect(QRectF(x0, y, x1 - x0, 0.5 * px), Qt::black);
    painter.fillRect(QRectF(x0, y - 1.5 * px, 0.3 * px, 3.5 * px), Qt::black);
    painter.fillRect(QRectF(x1 - 0.3 * px, y - 1.5 * px, 0.3 * px, 3.5 * px), Qt::black);
    painter.drawText(QPointF(x1 + 3 * px, y + 1 * px),
                     tr("50 mm: tiskněte ve skutečné velikosti (100 %), bez "
                        "přizpůsobení stránce"));
}

void ScaledPrint::PaintOverview(QPainter& painter, double px) const {
    // The whole map small, fitted into the area, with every page's part outlined and named.
    const int w = m_map.Width(), h = m_map.Height();
    const gdi::Rect fit = CZKView::FitCentred(w, h, static_cast<int>(m_areaMm.width() * px),
                                              static_cast<int>(m_areaMm.height() * px));
    const QRectF target(m_areaMm.left() * px + fit.left, m_areaMm.top() * px + fit.top, fit.Width(),
                        fit.Height());
    // A small copy, one of the map's pixels in every `step`: the page needs no more.
    const int step =
        std::max(1, std::max(w / std::max(1, fit.Width()), h / std::max(1, fit.Height())));
    painter.drawImage(target, ImageOf(m_map, m_map.Bounds(), step));
    const double sx = target.width() / w, sy = target.height() / h;
    QPen pen(QColor(200, 0, 0));
    pen.setWidthF(0.3 * px);
    painter.setPen(pen);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(1, static_cast<int>(4 * px)));
    font.setBold(true);
    painter.setFont(font);
    for (const MapPage& p : m_layout.pages) {
        const QRectF r(target.left() + p.map.left * sx, target.top() + p.map.top * sy,
                       p.map.Width() * sx, p.map.Height() * sy);
        painter.drawRect(r);
        painter.drawText(r, Qt::AlignCenter, QString::fromStdString(PageName(p.row, p.column)));
    }
    PaintFoot(painter, px, tr("Přehled"), 1);
}

}  // namespace zk
