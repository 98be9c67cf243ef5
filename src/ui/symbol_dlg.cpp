#include "ui/symbol_dlg.h"

#include <QPaintEvent>
#include <QPushButton>
#include <algorithm>

#include "gdi/dc.h"
#include "ui/dialog_units.h"

namespace zk {

namespace {

struct Def {
    CSymbolDlg::Transform t;
    const char* text;
    int column;
    int y, cy;
};

constexpr int kLast = CSymbolDlg::kCells - 1;

}  // namespace

CSymbolDlg::CSymbolDlg(QWidget* parent) : QDialog(parent) {
    UseDialogFont(this);
    setWindowTitle(tr("Symbol"));
    // The buttons stand right of the enlarged symbol, which is laid out in pixels: in a small
    // dialog font their column would reach into it, and in a large one their labels would not
    // fit. Both columns move right and widen as far as needed.
    const Def defs[] = {
        {Transform::RotateLeft, QT_TR_NOOP("Doleva"), 0, 45, 15},
        {Transform::RotateRight, QT_TR_NOOP("Doprava"), 1, 45, 15},
        {Transform::MirrorLeftRight, QT_TR_NOOP("Zrcadlit V."), 0, 65, 14},
        {Transform::MirrorTopBottom, QT_TR_NOOP("Zrcadlit H."), 1, 65, 14},
    };
    int buttonWidth = DialogUnits(this, 0, 0, 35, 0).width();
    for (const Def& d : defs) {
        auto* b = new QPushButton(tr(d.text), this);
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

void CSymbolDlg::LoadCells() {
    if (!m_loadPending)
        return;
    m_loadPending = 0;
    m_grid.Load(m_pBitmap);
}

void CSymbolDlg::EditCell(int px, int py, int value) {
    const std::optional<gdi::Point> cell = CellAt(px, py);
    if (!cell)
        return;
    LoadCells();
    m_grid.Set(*cell, value);
    update();
}

void CSymbolDlg::OnLButtonDown(unsigned, int px, int py) {
    EditCell(px, py, 1);
}

void CSymbolDlg::OnRButtonDown(unsigned, int px, int py) {
    EditCell(px, py, 0);
}

void CSymbolDlg::OnMouseMove(unsigned flags, int px, int py) {
    if (const std::optional<int> value = DragValue(flags))
        EditCell(px, py, *value);
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
    m_grid.Write(m_pBitmap, m_storePending != 0);
    m_storePending = 0;
}

void CSymbolDlg::Render() {
    WritePending();
    ClearPicture(*this, m_picture);
    gdi::DC dc(&m_picture);
    if (m_pBitmap) {
        // The real colours of the symbol, not the cells: a pixel not yet edited shows as it is.
        const gdi::DC src(m_pBitmap);
        dc.BitBlt(kPreviewOrigin.x, kPreviewOrigin.y, kCells, kCells, src, 0, 0, gdi::Rop::SrcCopy);
        LoadCells();
    }
    Grid::Draw(dc, m_pBitmap);
}

void CSymbolDlg::done(int result) {
    WritePending();
    QDialog::done(result);
}

void CSymbolDlg::paintEvent(QPaintEvent* event) {
    Render();
    ShowPicture(*this, m_picture, event->rect());
}

void CSymbolDlg::mousePressEvent(QMouseEvent* event) {
    SendMousePress(*this, event);
    QDialog::mousePressEvent(event);
}

void CSymbolDlg::mouseMoveEvent(QMouseEvent* event) {
    SendMouseMove(*this, event);
    QDialog::mouseMoveEvent(event);
}

}  // namespace zk
