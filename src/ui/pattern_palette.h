// The pattern palette: the 16 brushes of the pattern library (or its 16 symbols while the symbol
// tool is current) in two rows of eight, and beside them the current choices. Clicks choose the
// fills and the symbol; a left double-click opens the pixel editor of the item.
#pragma once

#include <QWidget>
#include <functional>

#include "doc/pattern_library.h"
#include "gdi/bitmap.h"

namespace zk {

class CPatternPalette : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 40;
    static constexpr gdi::Color kBackground = gdi::RGB(212, 208, 200);

    // A child of `host` (the pattern bar) at (0, 0), 200 x 40. The palette keeps no choice of its
    // own: it reads and writes ToolSettings and reads `library`, which must outlive it.
    explicit CPatternPalette(QWidget* host = nullptr, PatternLibrary& library = g_patternLibrary);

    // The item under a client point, 0..15, or -1 where a click does not count (the area of the
    // current choices at x >= 160 included).
    static int HitTest(int x, int y);

    // Draws the palette into Picture(), exactly what paintEvent puts on the screen.
    void Render();
    const gdi::Bitmap& Picture() const { return m_picture; }

    // What the mouse does, in client pixels.
    void OnLButtonDown(int x, int y);
    void OnRButtonDown(int x, int y);
    void OnLButtonDblClk(int x, int y);

    // The bar the palette lives in, repainted after an editor closes. Not owned; may be null.
    QWidget* m_pHost = nullptr;
    // Called after a click has changed ToolSettings' fill, secfill or symbol.
    std::function<void()> m_onChanged;

  protected:
    // Shows the brush editor modally for one library brush.
    virtual void EditBrush(gdi::Bitmap& brush);
    // Shows the symbol editor modally for one library symbol.
    virtual void EditSymbol(gdi::Bitmap& symbol);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    // After an editor: the bar and the palette show the edited item.
    void RepaintHost();

    PatternLibrary& m_library;
    gdi::Bitmap m_picture;
};

}  // namespace zk
