// A map printed at true scale across pages (the layout is doc/page_layout.h): one grid step of
// the map is one cell of the chosen size on paper. The first page shows the whole map small with
// the pages drawn over it, for taping them together; every map page carries crop marks at the
// corners of its part, its name in the layout and its number, and a calibration bar of exactly
// 50 mm with the reminder to print at 100 %. Printer, preview and PDF all paint through here.
#pragma once

#include <QCoreApplication>
#include <QPageLayout>
#include <QRectF>
#include <QString>

#include "doc/page_layout.h"
#include "gdi/bitmap.h"

class QPagedPaintDevice;
class QPainter;

namespace zk {

class ScaledPrint {
    Q_DECLARE_TR_FUNCTIONS(zk::ScaledPrint)

  public:
    // Room the page's own marks take: around the map part, and below it for the name, the
    // number and the calibration bar.
    static constexpr double kSideMm = 8;
    static constexpr double kFootMm = 22;
    static constexpr double kCalibrationMm = 50;

    ScaledPrint(const gdi::Bitmap& map, int grid, const ScaledPrintOptions& options,
                const QPageLayout& page);

    const PageLayout& Layout() const { return m_layout; }
    // The assembly page and every map page; 0 when the layout is refused.
    int PageCount() const;
    // "18 stran (6 × 3) a přehled", or why the map cannot be printed so.
    QString Summary() const;

    // Paints every page on `device`, a new page before each but the first. False when the layout
    // is refused or the device cannot be painted on.
    bool Print(QPagedPaintDevice& device) const;
    // The pages as a PDF file, written atomically; each map page's picture is embedded once, at
    // the map's own resolution, scaled by the page without smoothing. False with the reason.
    bool WritePdf(const QString& path, QString* why) const;
    // Paints page `index` (0: the assembly page) on a painter whose device has `dpi` pixels per
    // inch and whose origin is the paper's top-left corner.
    void PaintPage(QPainter& painter, int index, double dpi) const;

  private:
    void PaintOverview(QPainter& painter, double px) const;
    void PaintMapPage(QPainter& painter, int index, double px) const;
    void PaintFoot(QPainter& painter, double px, const QString& name, int number) const;

    const gdi::Bitmap& m_map;
    int m_grid;
    QPageLayout m_page;
    QRectF m_areaMm;  // where the map goes on the paper, in mm from its top-left corner
    PageLayout m_layout;
};

}  // namespace zk
