// "Symbol": the pixel editor of one 16 x 16 symbol of the pattern library. The symbol is shown at
// its actual size and enlarged eight times with a grid over it; a left press or drag paints cells
// black, a right one white, and four buttons turn or mirror the whole symbol. Edits go straight
// into the library's bitmap, so there is nothing to confirm or cancel.
#pragma once

#include <QDialog>
#include <optional>

#include "gdi/bitmap.h"
#include "gdi/types.h"
#include "ui/cell_grid.h"

class QPushButton;

namespace zk {

class CSymbolDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kCells = 16;
    // The enlarged symbol and the preview at actual size, in client pixels.
    using Grid = CellGrid<CellLayout{kCells, 8, {42, 10}}>;
    static constexpr gdi::Rect kGridRect = Grid::kRect;
    static constexpr gdi::Point kPreviewOrigin{10, 10};

    enum class Transform { RotateLeft, RotateRight, MirrorLeftRight, MirrorTopBottom };

    explicit CSymbolDlg(QWidget* parent = nullptr);

    static std::optional<gdi::Point> CellAt(int px, int py) { return Grid::CellAt(px, py); }

    // Writes what was edited since the last render into *m_pBitmap, then draws the whole client
    // area into Picture(): exactly what paintEvent puts on the screen.
    void Render();
    const gdi::Bitmap& Picture() const { return m_picture; }

    // Mouse input in client pixels; flags are MouseFlags (buttons held, Shift, Ctrl).
    void OnLButtonDown(unsigned flags, int px, int py);
    void OnRButtonDown(unsigned flags, int px, int py);
    void OnMouseMove(unsigned flags, int px, int py);
    // "Doleva", "Doprava", "Zrcadlit V.", "Zrcadlit H.": the whole symbol, written back in pure
    // black and white.
    void OnTransform(Transform t);

    // Closing by OK, Escape or the close box keeps every edit, even one not yet painted.
    void done(int result) override;

    QPushButton* Button(Transform t) const { return m_transformButtons[static_cast<int>(t)]; }
    QPushButton* OkButton() const { return m_ok; }

    // Read the bitmap into m_cells before the next edit or paint.
    int m_loadPending = 1;
    // Write all of m_cells into the bitmap at the next paint.
    int m_storePending = 0;
    Grid m_grid;
    gdi::Point& m_lastCell = m_grid.m_lastCell;
    int (&m_cells)[kCells][kCells] = m_grid.m_cells;
    // The symbol being edited, a library bitmap; not owned. Set before the dialog is shown.
    gdi::Bitmap* m_pBitmap = nullptr;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void LoadCells();
    void EditCell(int px, int py, int value);
    void WritePending();

    gdi::Bitmap m_picture;
    QPushButton* m_ok;
    QPushButton* m_transformButtons[4];
};

}  // namespace zk
