#include "ui/fills_dlg.h"

#include <QPaintEvent>
#include <QPushButton>

#include "gdi/dc.h"
#include "ui/dialog_units.h"

namespace zk {

CFillsDlg::CFillsDlg(QWidget* parent) : QDialog(parent) {
    UseDialogFont(this);
    setWindowTitle(tr("Výplně"));
    setFixedSize(DialogUnits(this, 0, 0, 158, 101).size());

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setGeometry(DialogUnits(this, 101, 7, 50, 14));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &CFillsDlg::accept);
    // There is nothing to cancel; the button only gives Escape its meaning.
    m_cancel = new QPushButton(tr("Storno"), this);
    m_cancel->setGeometry(DialogUnits(this, 101, 24, 50, 14));
    m_cancel->setVisible(false);
    connect(m_cancel, &QPushButton::clicked, this, &CFillsDlg::reject);

    // Every pixel of the client area comes from Render.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CFillsDlg::EditCell(int px, int py, int value, bool wholeWindow) {
    const std::optional<gdi::Point> cell = CellAt(px, py);
    if (!cell)
        return;
    m_grid.Set(*cell, value);
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
    if (const std::optional<int> value = DragValue(flags))
        EditCell(px, py, *value, false);
}

void CFillsDlg::Render() {
    m_grid.Write(m_pBitmap);
    ClearPicture(*this, m_picture);
    gdi::DC dc(&m_picture);
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
    }
    Grid::Draw(dc, m_pBitmap);
}

void CFillsDlg::done(int result) {
    m_grid.Write(m_pBitmap);
    QDialog::done(result);
}

void CFillsDlg::paintEvent(QPaintEvent* event) {
    Render();
    ShowPicture(*this, m_picture, event->rect());
}

void CFillsDlg::mousePressEvent(QMouseEvent* event) {
    SendMousePress(*this, event);
    QDialog::mousePressEvent(event);
}

void CFillsDlg::mouseMoveEvent(QMouseEvent* event) {
    SendMouseMove(*this, event);
    QDialog::mouseMoveEvent(event);
}

}  // namespace zk
