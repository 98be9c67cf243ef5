#include <utility>

#include "gdi/dc.h"
#include "gdi/raster.h"

namespace gdi {

Font DC::SelectFont(const Font& font) {
    return std::exchange(m_font, font);
}

Point DC::GetTextExtent(std::string_view utf8) const {
    return {m_font.TextWidth(DecodeUtf8(utf8)), m_font.CellHeight()};
}

bool DC::TextOut(int x, int y, std::string_view utf8) {
    if (!m_bitmap)
        return false;
    const std::u32string text = DecodeUtf8(utf8);
    const detail::Canvas canvas(m_bitmap, m_clip);
    const Point at = ToDevice(x, y);
    if (m_bkMode == BkMode::Opaque) {
        const Color bk = canvas.Reduce(m_bkColor);
        const int right = at.x + m_font.TextWidth(text);
        for (int row = at.y; row < at.y + m_font.CellHeight(); ++row)
            canvas.Fill(row, at.x, right, bk);
    }
    const Color ink = canvas.Reduce(m_textColor);
    const int baseline = at.y + m_font.Ascent();
    const Rect box = canvas.Box();
    int pen = at.x;
    m_font.Render(text, [&](const Glyph& g) {
        const int left = pen + g.left;
        const int top = baseline - g.top;
        pen += g.advance;
        if (!box.Intersect({left, top, left + g.width, top + g.height}).IsEmpty()) {
            for (int gy = 0; gy < g.height; ++gy)
                for (int gx = 0; gx < g.width; ++gx)
                    if (g.ink[static_cast<std::size_t>(gy) * static_cast<std::size_t>(g.width) +
                              static_cast<std::size_t>(gx)])
                        canvas.Plot(left + gx, top + gy, ink);
        }
    });
    return true;
}

}  // namespace gdi
