#include "ui/pattern_palette.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPaintEvent>

#include "gdi/dc.h"
#include "tools/tool_settings.h"
#include "ui/fills_dlg.h"
#include "ui/symbol_dlg.h"
#include "ui/window_picture.h"

namespace zk {

namespace {

constexpr int kCell = 20;
constexpr int kItemsAcross = 8;
constexpr int kChoiceX = 180;

bool IsIndex(int i) {
    return i >= 0 && i < PatternLibrary::kCount;
}

// A brush is shown as it fills an area: its 8 x 8 picture repeated 2 x 2. A brush of another
// size shows only the part of its top-left 8 x 8 that it has; the blit never reads outside it.
void DrawBrushSwatch(gdi::DC& dc, gdi::Bitmap& brush, int x, int y) {
    const gdi::DC src(&brush);
    dc.BitBlt(x, y, 8, 8, src, 0, 0, gdi::Rop::SrcCopy);
    dc.BitBlt(x + 8, y, 8, 8, src, 0, 0, gdi::Rop::SrcCopy);
    dc.BitBlt(x + 8, y + 8, 8, 8, src, 0, 0, gdi::Rop::SrcCopy);
    dc.BitBlt(x, y + 8, 8, 8, src, 0, 0, gdi::Rop::SrcCopy);
}

void DrawSymbolSwatch(gdi::DC& dc, gdi::Bitmap& symbol, int x, int y) {
    const gdi::DC src(&symbol);
    dc.BitBlt(x, y, 16, 16, src, 0, 0, gdi::Rop::SrcCopy);
}

}  // namespace

CPatternPalette::CPatternPalette(QWidget* host, PatternLibrary& library)
    : QWidget(host),
      m_pHost(host),
      m_library(library),
      m_picture(kWidth, kHeight, 32, kBackground) {
    setGeometry(0, 0, kWidth, kHeight);
    setFixedSize(kWidth, kHeight);
    // Every pixel comes from Render.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

int CPatternPalette::HitTest(int x, int y) {
    // A point left of or above the window would still truncate into the first column or row;
    // only points on the palette count.
    if (x < 0 || y < 0 || x >= kItemsAcross * kCell)
        return -1;
    const int i = x / kCell + kItemsAcross * (y / kCell);
    return IsIndex(i) ? i : -1;
}

void CPatternPalette::Render() {
    gdi::DC dc(&m_picture);
    dc.FillRect(m_picture.Bounds(), gdi::Brush::Solid(kBackground));

    const bool symbols = ToolSettings::tool == kSymbolTool;
    for (int i = 0; i < PatternLibrary::kCount; ++i) {
        const int x = kCell * (i % kItemsAcross) + 2;
        const int y = kCell * (i / kItemsAcross) + 2;
        if (symbols)
            DrawSymbolSwatch(dc, m_library.m_symbols[static_cast<std::size_t>(i)], x, y);
        else
            DrawBrushSwatch(dc, m_library.m_brushes[static_cast<std::size_t>(i)], x, y);
    }

    // The settings may come from the settings store; an index past the library shows nothing.
    if (symbols) {
        if (IsIndex(ToolSettings::symbol))
            DrawSymbolSwatch(dc,
                             m_library.m_symbols[static_cast<std::size_t>(ToolSettings::symbol)],
                             kChoiceX, 2);
    } else {
        if (IsIndex(ToolSettings::fill))
            DrawBrushSwatch(dc, m_library.m_brushes[static_cast<std::size_t>(ToolSettings::fill)],
                            kChoiceX, 2);
        if (IsIndex(ToolSettings::secfill))
            DrawBrushSwatch(dc,
                            m_library.m_brushes[static_cast<std::size_t>(ToolSettings::secfill)],
                            kChoiceX, 22);
    }
}

void CPatternPalette::OnLButtonDown(int x, int y) {
    const int i = HitTest(x, y);
    if (i >= 0) {
        int& choice = ToolSettings::tool == kSymbolTool ? ToolSettings::symbol : ToolSettings::fill;
        const bool changed = choice != i;
        choice = i;
        if (changed && m_onChanged)
            m_onChanged();
    }
    update();
}

void CPatternPalette::OnRButtonDown(int x, int y) {
    const int i = HitTest(x, y);
    if (i >= 0 && ToolSettings::tool != kSymbolTool) {
        const bool changed = ToolSettings::secfill != i;
        ToolSettings::secfill = i;
        if (changed && m_onChanged)
            m_onChanged();
    }
    update();
}

void CPatternPalette::OnLButtonDblClk(int x, int y) {
    const int i = HitTest(x, y);
    if (i < 0)
        return;
    if (ToolSettings::tool == kSymbolTool) {
        EditSymbol(m_library.m_symbols[static_cast<std::size_t>(i)]);
        RepaintHost();
    } else if (i != kEmptyFill && i != kGridFloor) {
        // 0 (the empty fill) and 8 (the grid floor) are drawn without their bitmaps, so there
        // is nothing to edit; the press before the double-click has already chosen them.
        EditBrush(m_library.m_brushes[static_cast<std::size_t>(i)]);
        RepaintHost();
    }
}

void CPatternPalette::EditBrush(gdi::Bitmap& brush) {
    CFillsDlg dlg(this);
    dlg.m_pBitmap = &brush;
    // However the editor is closed, its edits are already in the library.
    dlg.exec();
}

void CPatternPalette::EditSymbol(gdi::Bitmap& symbol) {
    CSymbolDlg dlg(this);
    dlg.m_pBitmap = &symbol;
    dlg.exec();
}

void CPatternPalette::RepaintHost() {
    if (m_pHost)
        m_pHost->update();
    update();
}

void CPatternPalette::paintEvent(QPaintEvent* event) {
    Render();
    ShowPicture(*this, m_picture, event->rect());
}

void CPatternPalette::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(p.x(), p.y());
    else if (event->button() == Qt::RightButton)
        OnRButtonDown(p.x(), p.y());
    // The click is the palette's; it must not go on to the bar around it.
    event->accept();
}

void CPatternPalette::contextMenuEvent(QContextMenuEvent* event) {
    // A right click on the palette chooses the secondary fill and nothing else: the bar menu
    // belongs to the bars' own empty area.
    event->accept();
}

void CPatternPalette::mouseDoubleClickEvent(QMouseEvent* event) {
    // The press before the double-click has chosen the item; this one only opens the editor.
    // Qt's default would treat the second press as another press.
    if (event->button() == Qt::LeftButton) {
        const QPoint p = event->position().toPoint();
        OnLButtonDblClk(p.x(), p.y());
    }
    event->accept();
}

}  // namespace zk
