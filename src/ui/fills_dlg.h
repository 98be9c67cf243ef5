// "Výplně": the pixel editor of one 8 x 8 brush of the pattern library. The brush is shown
// tiled 2 x 2 and enlarged eight times with a grid over it; a left press or drag paints cells
// black, a right one white. Edits go straight into the library's bitmap, so there is nothing to
// confirm or cancel.
#pragma once

#include <QDialog>
#include <optional>

#include "gdi/bitmap.h"
#include "gdi/types.h"

class QPushButton;

namespace zk {

class CFillsDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kCells = 8;
    // The enlarged brush and the tiled preview, in client pixels.
    static constexpr gdi::Rect kGridRect{42, 10, 42 + 8 * kCells, 10 + 8 * kCells};
    static constexpr gdi::Point kPreviewOrigin{10, 10};

    explicit CFillsDlg(QWidget* parent = nullptr);

    // The cell under a client point, or nullopt outside the grid. Division truncates toward zero,
    // so up to 7 pixels left of or above the grid still give column or row 0.
    static std::optional<gdi::Point> CellAt(int px, int py);

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

    // The cell edited last; (-1, -1) once it is written into the bitmap.
    gdi::Point m_lastCell{-1, -1};
    // Indexed [x][y]: 1 black, 0 white. Only edited cells are read, so it is not loaded from the
    // bitmap.
    int m_cells[kCells][kCells] = {};
    // The brush being edited, a library bitmap; not owned. Set before the dialog is shown.
    gdi::Bitmap* m_pBitmap = nullptr;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void EditCell(int px, int py, int value, bool wholeWindow);
    void WritePendingCells();

    // Cells edited since the last render. Several can be waiting when the pointer moves faster
    // than the window repaints; each is written, not only the last.
    bool m_pending[kCells][kCells] = {};
    gdi::Bitmap m_picture;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

}  // namespace zk
