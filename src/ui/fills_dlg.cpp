#include "ui/fills_dlg.h"

#include "ui/mouse_flags.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>

#include "gdi/dc.h"
#include "ui/dialog_units.h"
#include "tools/map_tool.h"

namespace zk {

namespace {

constexpr int kCellSize = 8;
}  // namespace

CFillsDlg::CFillsDlg(QWidget* parent) : QDialog(parent) {
    UseDialogFont(this);
    setWindowTitle(QString::fromUtf8("Výplně"));
    setFixedSize(DialogUnits(this, 0, 0, 158, 101).size());

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setGeometry(DialogUnits(this, 101, 7, 50, 14));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &CFillsDlg::accept);
    // There is nothing to cancel; the button only gives Escape its meaning.
    m_cancel = new QPushButton(QStringLiteral("Storno"), this);
    m_cancel->setGeometry(DialogUnits(this, 101, 24, 50, 14));
    m_cancel->setVisible(false);
    connect(m_cancel, &QPushButton::clicked, this, &CFillsDlg::reject);

    // Every pixel of the client area comes from Render.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

std::optional<gdi::Point> CFillsDlg::CellAt(int px, int py) {
    const int x = (px - kGridRect.left) / kCellSize;
    const int y = (py - kGridRect.top) / kCellSize;
    if (x < 0 || x >= kCells || y < 0 || y >= kCells)
        return std::nullopt;
    return gdi::Point{x, y};
}

void CFillsDlg::EditCell(int px, int py, int value, bool wholeWindow) {
    const std::optional<gdi::Point> cell = CellAt(px, py);
    if (!cell)
        return;
    m_lastCell = *cell;
    m_cells[cell->x][cell->y] = value;
    m_pending[cell->x][cell->y] = true;
    if (wholeWindow)
        update();
    else
        update(QRect(kPreviewOrigin.x, kPreviewOrigin.y, kGridRect.right - kPreviewOrigin.x,
                     kGridRect.bottom - kPreviewOrigin.y));
}

void CFillsDlg::OnLButtonDown(unsigned, int px, int py) {
    EditCell(px, py, 1, true);
}

void CFillsDlg::OnRButtonDown(unsigned, int px, int py) {
    EditCell(px, py, 0, true);
}

void CFillsDlg::OnMouseMove(unsigned flags, int px, int py) {
    // A drag paints only with exactly one button and no Shift or Ctrl.
    if (flags == MK_LBUTTON)
        EditCell(px, py, 1, false);
    else if (flags == MK_RBUTTON)
        EditCell(px, py, 0, false);
}

void CFillsDlg::WritePendingCells() {
    if (m_pBitmap) {
        // Writes through the drawing layer are clipped to the bitmap: a brush file of another
        // size than 8 x 8 is edited only where it has pixels.
        gdi::DC dc(m_pBitmap);
        for (int x = 0; x < kCells; ++x)
            for (int y = 0; y < kCells; ++y)
                if (m_pending[x][y])
                    dc.SetPixelV(x, y, m_cells[x][y] ? gdi::kBlack : gdi::kWhite);
    }
    for (auto& column : m_pending)
        for (bool& p : column)
            p = false;
    m_lastCell = {-1, -1};
}

void CFillsDlg::Render() {
    WritePendingCells();

    const int w = width();
    const int h = height();
    if (m_picture.Width() != w || m_picture.Height() != h)
        m_picture = gdi::Bitmap(w, h);
    gdi::DC dc(&m_picture);
    const gdi::Color face = palette().color(QPalette::Window).rgb() & 0xFFFFFF;
    dc.FillRect(m_picture.Bounds(), gdi::Brush::Solid(face));

    if (m_pBitmap) {
        const gdi::DC src(m_pBitmap);
        // The brush as it fills an area, tiled 2 x 2. A smaller bitmap leaves the rest of each
        // tile alone: the blits never read outside it.
        const int px = kPreviewOrigin.x;
        const int py = kPreviewOrigin.y;
        dc.BitBlt(px, py, kCells, kCells, src, 0, 0, gdi::Rop::SrcCopy);
        dc.BitBlt(px + kCells, py, kCells, kCells, src, 0, 0, gdi::Rop::SrcCopy);
        dc.BitBlt(px + kCells, py + kCells, kCells, kCells, src, 0, 0, gdi::Rop::SrcCopy);
        dc.BitBlt(px, py + kCells, kCells, kCells, src, 0, 0, gdi::Rop::SrcCopy);
        // Each brush pixel becomes an 8 x 8 cell.
        dc.StretchBlt(kGridRect.left, kGridRect.top, kGridRect.Width(), kGridRect.Height(), src, 0,
                      0, kCells, kCells, gdi::Rop::SrcCopy);
    }

    const gdi::Pen old = dc.SelectPen(gdi::Pen::Solid(1, gdi::kBlack));
    for (int i = 0; i <= kCells; ++i) {
        const int x = kGridRect.left + i * kCellSize;
        dc.MoveTo(x, kGridRect.top);
        dc.LineTo(x, kGridRect.bottom);
        const int y = kGridRect.top + i * kCellSize;
        dc.MoveTo(kGridRect.left, y);
        dc.LineTo(kGridRect.right, y);
    }
    dc.SelectPen(old);
}

void CFillsDlg::done(int result) {
    WritePendingCells();
    QDialog::done(result);
}

void CFillsDlg::paintEvent(QPaintEvent* event) {
    Render();
    // 0x00RRGGBB is the layout of RGB32: the picture goes to the screen as it is.
    const QImage image(reinterpret_cast<const uchar*>(m_picture.Data()), m_picture.Width(),
                       m_picture.Height(), m_picture.Width() * 4, QImage::Format_RGB32);
    QPainter painter(this);
    painter.drawImage(event->rect(), image, event->rect());
}

void CFillsDlg::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(KeyStateFlags(event), p.x(), p.y());
    else if (event->button() == Qt::RightButton)
        OnRButtonDown(KeyStateFlags(event), p.x(), p.y());
    QDialog::mousePressEvent(event);
}

void CFillsDlg::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    OnMouseMove(KeyStateFlags(event), p.x(), p.y());
    QDialog::mouseMoveEvent(event);
}

}  // namespace zk
