#include "tools/symbol_tool.h"

#include <algorithm>

#include "doc/pattern_library.h"
#include "tools/tool_settings.h"

namespace zk {

namespace {

// The current symbol turned by the current rotation; empty when the index is past the library.
gdi::Bitmap CurrentSymbol() {
    const int i = ToolSettings::symbol;
    if (i < 0 || i >= PatternLibrary::kCount)
        return {};
    return SymbolTool::RotatedSymbol(g_patternLibrary.m_symbols[static_cast<std::size_t>(i)],
                                     ToolSettings::symbolrotation);
}

}  // namespace

gdi::Bitmap SymbolTool::RotatedSymbol(const gdi::Bitmap& symbol, int rotation) {
    constexpr int m = kSide - 1;
    gdi::Bitmap t(kSide, kSide);
    auto source = [&symbol](int x, int y) {
        return symbol.InBounds(x, y) ? symbol.GetPixel(x, y) : gdi::kWhite;
    };
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            switch (((rotation % 4) + 4) % 4) {
                case 0:
                    t.SetPixel(x, y, source(x, y));
                    break;
                case 1:  // the top edge becomes the left edge
                    t.SetPixel(x, y, source(m - y, x));
                    break;
                case 2:
                    t.SetPixel(x, y, source(m - x, m - y));
                    break;
                default:  // the top edge becomes the right edge
                    t.SetPixel(x, y, source(y, m - x));
                    break;
            }
        }
    }
    return t;
}

void SymbolTool::Begin(int useAnd) {
    m_pending = 1;
    m_useAnd = useAnd;
    m_stamps.push_back({m_curPoint, useAnd});
    Invalidate();
}

void SymbolTool::OnLButtonDown(unsigned, int, int) {
    // The stamp goes where the pointer last moved to, not at the press's own point.
    Begin(1);
}

void SymbolTool::OnRButtonDown(unsigned, int x, int y) {
    m_curPoint = {x, y};
    Begin(0);
}

void SymbolTool::OnLButtonUp(unsigned, int, int) {
    m_pending = 0;
}
void SymbolTool::OnRButtonUp(unsigned flags, int x, int y) {
    OnLButtonUp(flags, x, y);
}

void SymbolTool::OnMouseMove(unsigned flags, int x, int y) {
    MapTool::OnMouseMove(flags, x, y);
    if (m_curPoint == m_prevPoint)
        return;
    if (m_pending)
        m_stamps.push_back({m_curPoint, m_useAnd});
    Invalidate();
}

void SymbolTool::Invalidate() {
    const gdi::Point c = m_curPoint;
    const gdi::Point p = m_prevPoint;
    // Far out a symbol is less than a window pixel, and its bare box could ask for none.
    const gdi::Rect r = GrowForMarks(
        gdi::Rect{c.x, c.y, c.x + kSide, c.y + kSide}.Union({p.x, p.y, p.x + kSide, p.y + kSide}),
        ToolSettings::zoom);
    g_pMapView->InvalidateMapRect(r);
}

void SymbolTool::CommitToMap(gdi::DC& dc) {
    if (!m_pending && m_stamps.empty())
        return;
    // While the button is held every paint stamps again at the current point.
    if (m_stamps.empty())
        m_stamps.push_back({m_curPoint, m_useAnd});
    gdi::Bitmap t = CurrentSymbol();
    if (!t.IsNull()) {
        const gdi::DC src(&t);
        for (const Stamp& s : m_stamps)
            dc.BitBlt(s.at.x, s.at.y, kSide, kSide, src, 0, 0,
                      s.useAnd ? gdi::Rop::SrcAnd : gdi::Rop::SrcCopy);
    }
    m_stamps.clear();
}

void SymbolTool::DrawOverlay(gdi::DC& dc, float zoom) {
    gdi::Bitmap t = CurrentSymbol();
    if (t.IsNull())
        return;
    const gdi::DC src(&t);
    // A symbol smaller than a window pixel still shows, ANDed into one.
    const int side = std::max(1, ToWindow(kSide, zoom));
    const gdi::Point at = ToWindow(m_curPoint, zoom);
    dc.StretchBlt(at.x, at.y, side, side, src, 0, 0, kSide, kSide, gdi::Rop::SrcAnd);
}

}  // namespace zk
