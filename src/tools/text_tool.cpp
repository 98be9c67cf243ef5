#include "tools/text_tool.h"

#include <algorithm>

#include "tools/tool_settings.h"

namespace zk {

void TextTool::OnLButtonDown(unsigned, int, int) {
    if (m_floating) {
        m_textPos = m_curPoint;
        m_pending = 1;
        Repaint(true);
        m_floating = 0;
        return;
    }
    if (!m_askText)
        return;
    std::string text = m_text;
    if (m_askText(text, m_logFont)) {
        m_text = text;
        Repaint(true);
        m_floating = 1;
    }
}

void TextTool::OnRButtonDown(unsigned, int, int) {
    m_floating = 0;
    Repaint(true);
}

void TextTool::Cancel() {
    if (!m_floating)
        return;
    m_floating = 0;
    Repaint(true);
}

void TextTool::OnMouseMove(unsigned flags, int x, int y) {
    MapTool::OnMouseMove(flags, x, y);
    if (m_curPoint == m_prevPoint)
        return;
    Repaint(m_floating != 0);
}

void TextTool::Repaint(bool whole) {
    if (whole) {
        g_pMapView->InvalidateAll();
        return;
    }
    // The caret's pen is two window pixels wide; below zoom 1 that is more than a map pixel.
    const int e = 1 + static_cast<int>(2.0 / static_cast<double>(ToolSettings::zoom));
    const int g = ToolSettings::GridStep();
    const gdi::Point c = m_curPoint;
    const gdi::Point p = m_prevPoint;
    const gdi::Rect r = gdi::Rect{c.x - e, c.y - e, c.x + e, c.y + g + e}.Union(
        {p.x - e, p.y - e, p.x + e, p.y + g + e});
    g_pMapView->InvalidateMapRect(r);
}

void TextTool::CommitToMap(gdi::DC& dc) {
    if (!m_pending)
        return;
    // Black on an opaque white cell, whatever the DC was left with.
    const gdi::Font old = dc.SelectFont(gdi::Font(m_logFont));
    const gdi::Color oldText = dc.SetTextColor(gdi::kBlack);
    const gdi::Color oldBk = dc.SetBkColor(gdi::kWhite);
    const gdi::BkMode oldMode = dc.SetBkMode(gdi::BkMode::Opaque);
    dc.TextOut(m_textPos.x + 1, m_textPos.y + 1, m_text);
    dc.SetBkMode(oldMode);
    dc.SetBkColor(oldBk);
    dc.SetTextColor(oldText);
    dc.SelectFont(old);
    m_pending = 0;
}

gdi::LogFont TextTool::PreviewFont(float zoom) const {
    gdi::LogFont lf = m_logFont;
    // A height of 0 asks for the default size: far out the preview stays the smallest font of
    // the same kind of height instead.
    const int height = static_cast<int>(lf.height * static_cast<double>(zoom));
    lf.height = height != 0 || lf.height == 0 ? height : (lf.height > 0 ? 1 : -1);
    lf.width = static_cast<int>(lf.width * static_cast<double>(zoom));
    return lf;
}

void TextTool::DrawOverlay(gdi::DC& dc, float zoom) {
    const int x = ToWindow(m_curPoint.x, zoom);
    const int y = ToWindow(m_curPoint.y, zoom);
    if (m_floating) {
        const gdi::Font old = dc.SelectFont(gdi::Font(PreviewFont(zoom)));
        const gdi::Color oldText = dc.SetTextColor(kMarkColor);
        dc.TextOut(x + 1, y + 1, m_text);
        dc.SetTextColor(oldText);
        dc.SelectFont(old);
        return;
    }
    const gdi::Pen old = dc.SelectPen(gdi::Pen::Solid(2, kMarkColor));
    dc.MoveTo(x, y);
    dc.LineTo(x, y + ToWindow(ToolSettings::GridStep(), zoom));
    dc.SelectPen(old);
}

}  // namespace zk
