// "Výplně": the pixel editor of one 8 x 8 brush of the pattern library. The brush is shown
// tiled 2 x 2 and enlarged eight times with a grid over it; a left press or drag paints cells
// black, a right one white. Edits go straight into the library's bitmap, so there is nothing to
// confirm or cancel.
#pragma once

#include <QDialog>
#include <optional>

#include "gdi/bitmap.h"
#include "gdi/types.h"
#include "ui/cell_grid.h"

class QPushButton;

namespace zk {

class CFillsDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kCells = 8;
    // The enlarged brush and the tiled preview, in client pixels.
    using Grid = CellGrid<CellLayout{kCells, 8, {42, 10}}>;
    static constexpr gdi::Rect kGridRect = Grid::kRect;
    static constexpr gdi::Point kPreviewOrigin{10, 10};

    explicit CFillsDlg(QWidget* parent = nullptr);

    static std::optional<gdi::Point> CellAt(int px, int py) { return Grid::CellAt(px, py); }

    // Writes the cells edited since the last render into *m_pBitmap, then draws the whole client
    // area into Picture(): exactly what paintEvent puts on the screen.
    void Render();
    const gdi::Bitmap& Picture() const { return m_picture; }

    // Mouse input in client pixels; flags are MouseFlags (buttons held, Shift, Ctrl).
    void OnLButtonDown(unsigned flags, int px, int py);
    void OnRButtonDown(unsigned flags, int px, int py);
    void OnMouseMove(unsigned flags, int px, int py);

    // Closing by OK, Escape or the close box keeps every edit, even one not yet painted.
    void done(int result) override;

    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    // Only edited cells are read, so they are not loaded from the bitmap.
    Grid m_grid;
    gdi::Point& m_lastCell = m_grid.m_lastCell;
    int (&m_cells)[kCells][kCells] = m_grid.m_cells;
    // The brush being edited, a library bitmap; not owned. Set before the dialog is shown.
    gdi::Bitmap* m_pBitmap = nullptr;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void EditCell(int px, int py, int value, bool wholeWindow);

    gdi::Bitmap m_picture;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

}  // namespace zk
