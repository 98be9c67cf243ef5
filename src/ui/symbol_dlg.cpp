#include "ui/symbol_dlg.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

#include "gdi/dc.h"
#include "ui/dialog_units.h"
#include "tools/map_tool.h"
#include "ui/mouse_flags.h"

namespace zk {

namespace {

struct Def {
    CSymbolDlg::Transform t;
    const char* text;
    int column;
    int y, cy;
};

constexpr int kCellSize = 8;
constexpr int kLast = CSymbolDlg::kCells - 1;

}  // namespace

CSymbolDlg::CSymbolDlg(QWidget* parent) : QDialog(parent) {
    UseDialogFont(this);
    setWindowTitle(QStringLiteral("Symbol"));
    // The buttons stand right of the enlarged symbol, which is laid out in pixels: in a small
    // dialog font their column would reach into it, and in a large one their labels would not
    // fit. Both columns move right and widen as far as needed.
    const Def defs[] = {
        {Transform::RotateLeft, "Doleva", 0, 45, 15},
        {Transform::RotateRight, "Doprava", 1, 45, 15},
        {Transform::MirrorLeftRight, "Zrcadlit V.", 0, 65, 14},
        {Transform::MirrorTopBottom, "Zrcadlit H.", 1, 65, 14},
    };
    int buttonWidth = DialogUnits(this, 0, 0, 35, 0).width();
    for (const Def& d : defs) {
        auto* b = new QPushButton(QString::fromUtf8(d.text), this);
        buttonWidth = std::max(buttonWidth, b->sizeHint().width());
        b->setAutoDefault(false);
        const Transform t = d.t;
        connect(b, &QPushButton::clicked, this, [this, t] { OnTransform(t); });
        m_transformButtons[static_cast<int>(t)] = b;
    }
    const int left = std::max(DialogUnits(this, 120, 0, 0, 0).x(), kGridRect.right + 8);
    const int gap = DialogUnits(this, 5, 0, 0, 0).x();
    for (const Def& d : defs) {
        const QRect r = DialogUnits(this, 0, d.y, 0, d.cy);
        m_transformButtons[static_cast<int>(d.t)]->setGeometry(
            left + d.column * (buttonWidth + gap), r.y(), buttonWidth, r.height());
    }
    const int right = left + 2 * buttonWidth + gap;
    const QRect size = DialogUnits(this, 0, 0, 202, 95);
    setFixedSize(std::max(size.width(), right + DialogUnits(this, 7, 0, 0, 0).x()),
                 std::max(size.height(), kGridRect.bottom + 10));

    // OK stands over the middle of the two columns, as it was laid out.
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    const QRect ok = DialogUnits(this, 0, 7, 50, 14);
    m_ok->setGeometry(left + (right - left - ok.width()) / 2, ok.y(), ok.width(), ok.height());
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &CSymbolDlg::accept);

    // Every pixel of the client area comes from Render.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

std::optional<gdi::Point> CSymbolDlg::CellAt(int px, int py) {
    const int x = (px - kGridRect.left) / kCellSize;
    const int y = (py - kGridRect.top) / kCellSize;
    if (x < 0 || x >= kCells || y < 0 || y >= kCells)
        return std::nullopt;
    return gdi::Point{x, y};
}

void CSymbolDlg::LoadCells() {
    if (!m_loadPending)
        return;
    m_loadPending = 0;
    // A pixel counts as black only when it is exactly black; a smaller symbol is white beyond
    // its own pixels.
    for (int x = 0; x < kCells; ++x)
        for (int y = 0; y < kCells; ++y)
            m_cells[x][y] =
                m_pBitmap && m_pBitmap->InBounds(x, y) && m_pBitmap->GetPixel(x, y) == gdi::kBlack
                    ? 1
                    : 0;
}

void CSymbolDlg::EditCell(int px, int py, int value) {
    const std::optional<gdi::Point> cell = CellAt(px, py);
    if (!cell)
        return;
    LoadCells();
    m_lastCell = *cell;
    m_cells[cell->x][cell->y] = value;
    m_pendingCell[cell->x][cell->y] = true;
    update();
}

void CSymbolDlg::OnLButtonDown(unsigned, int px, int py) {
    EditCell(px, py, 1);
}

void CSymbolDlg::OnRButtonDown(unsigned, int px, int py) {
    EditCell(px, py, 0);
}

void CSymbolDlg::OnMouseMove(unsigned flags, int px, int py) {
    // A drag paints only with exactly one button and no Shift or Ctrl.
    if (flags == MK_LBUTTON)
        EditCell(px, py, 1);
    else if (flags == MK_RBUTTON)
        EditCell(px, py, 0);
}

void CSymbolDlg::OnTransform(Transform t) {
    LoadCells();
    int old[kCells][kCells];
    std::copy(&m_cells[0][0], &m_cells[0][0] + kCells * kCells, &old[0][0]);
    for (int x = 0; x < kCells; ++x) {
        for (int y = 0; y < kCells; ++y) {
            switch (t) {
                case Transform::RotateLeft:
                    m_cells[x][y] = old[kLast - y][x];
                    break;
                case Transform::RotateRight:
                    m_cells[x][y] = old[y][kLast - x];
                    break;
                case Transform::MirrorLeftRight:
                    m_cells[x][y] = old[kLast - x][y];
                    break;
                case Transform::MirrorTopBottom:
                    m_cells[x][y] = old[x][kLast - y];
                    break;
            }
        }
    }
    m_storePending = 1;
    update();
}

void CSymbolDlg::WritePending() {
    if (m_pBitmap) {
        // Writes are clipped to the bitmap: a symbol of another size is edited only where it has
        // pixels.
        gdi::DC dc(m_pBitmap);
        for (int x = 0; x < kCells; ++x)
            for (int y = 0; y < kCells; ++y)
                if (m_storePending || m_pendingCell[x][y])
                    dc.SetPixelV(x, y, m_cells[x][y] ? gdi::kBlack : gdi::kWhite);
    }
    for (auto& column : m_pendingCell)
        std::fill(std::begin(column), std::end(column), false);
    m_lastCell = {-1, -1};
    m_storePending = 0;
}

void CSymbolDlg::Render() {
    WritePending();

    const int w = width();
    const int h = height();
    if (m_picture.Width() != w || m_picture.Height() != h)
        m_picture = gdi::Bitmap(w, h);
    gdi::DC dc(&m_picture);
    const gdi::Color face = palette().color(QPalette::Window).rgb() & 0xFFFFFF;
    dc.FillRect(m_picture.Bounds(), gdi::Brush::Solid(face));

    if (m_pBitmap) {
        // The real colours of the symbol, not the cells: a pixel not yet edited shows as it is.
        const gdi::DC src(m_pBitmap);
        dc.BitBlt(kPreviewOrigin.x, kPreviewOrigin.y, kCells, kCells, src, 0, 0, gdi::Rop::SrcCopy);
        LoadCells();
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

void CSymbolDlg::done(int result) {
    WritePending();
    QDialog::done(result);
}

void CSymbolDlg::paintEvent(QPaintEvent* event) {
    Render();
    // 0x00RRGGBB is the layout of RGB32: the picture goes to the screen as it is.
    const QImage image(reinterpret_cast<const uchar*>(m_picture.Data()), m_picture.Width(),
                       m_picture.Height(), m_picture.Width() * 4, QImage::Format_RGB32);
    QPainter painter(this);
    painter.drawImage(event->rect(), image, event->rect());
}

void CSymbolDlg::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(KeyStateFlags(event), p.x(), p.y());
    else if (event->button() == Qt::RightButton)
        OnRButtonDown(KeyStateFlags(event), p.x(), p.y());
    QDialog::mousePressEvent(event);
}

void CSymbolDlg::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    OnMouseMove(KeyStateFlags(event), p.x(), p.y());
    QDialog::mouseMoveEvent(event);
}

}  // namespace zk
