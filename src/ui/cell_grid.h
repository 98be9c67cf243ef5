// The pixel editor the brush and symbol dialogs share: a small bitmap shown enlarged under a grid,
// one cell for each pixel, painted black with the left button and white with the right. An edit
// waits in the cells until Write puts it into the bitmap, at the next paint or when the dialog
// closes, so a pointer that outruns the repaints still lands in every cell it passed.
#pragma once

#include <QMouseEvent>
#include <optional>

#include "gdi/bitmap.h"
#include "gdi/dc.h"
#include "gdi/types.h"
#include "ui/mouse_flags.h"
#include "ui/window_picture.h"

class QRect;
class QWidget;

namespace zk {

// Where the enlarged bitmap stands: `cells` x `cells` cells of `cellSize` pixels, the top left one
// at `origin`, in client pixels.
struct CellLayout {
    int cells = 0;
    int cellSize = 0;
    gdi::Point origin;

    constexpr gdi::Rect Rect() const {
        return {origin.x, origin.y, origin.x + cellSize * cells, origin.y + cellSize * cells};
    }
    // The cell under a client point, or nullopt outside the grid. Division truncates toward zero,
    // so up to cellSize - 1 pixels left of or above the grid still give column or row 0.
    std::optional<gdi::Point> CellAt(int px, int py) const;
    // The bitmap's top left `cells` x `cells` pixels, each enlarged to a cell (nothing where it has
    // none, or when it is null), and the grid lines over them.
    void Draw(gdi::DC& dc, gdi::Bitmap* bitmap) const;
};

template <CellLayout L>
class CellGrid {
  public:
    static constexpr int kCells = L.cells;
    static constexpr gdi::Rect kRect = L.Rect();

    static std::optional<gdi::Point> CellAt(int px, int py) { return L.CellAt(px, py); }
    static void Draw(gdi::DC& dc, gdi::Bitmap* bitmap) { L.Draw(dc, bitmap); }

    // Every cell from the bitmap: 1 where a pixel is exactly black, 0 for any other colour and
    // beyond the pixels of a smaller bitmap.
    void Load(const gdi::Bitmap* bitmap) {
        for (int x = 0; x < kCells; ++x)
            for (int y = 0; y < kCells; ++y) {
                const bool black =
                    bitmap && bitmap->InBounds(x, y) && bitmap->GetPixel(x, y) == gdi::kBlack;
                m_cells[x][y] = black ? 1 : 0;
            }
    }

    void Set(gdi::Point cell, int value) {
        m_lastCell = cell;
        m_cells[cell.x][cell.y] = value;
        m_pending[cell.x][cell.y] = true;
    }

    // Writes the cells set since the last write, or with `all` every cell, in pure black and
    // white. Writes through the drawing layer are clipped to the bitmap: one of another size is
    // edited only where it has pixels.
    void Write(gdi::Bitmap* bitmap, bool all = false) {
        if (bitmap) {
            gdi::DC dc(bitmap);
            for (int x = 0; x < kCells; ++x)
                for (int y = 0; y < kCells; ++y)
                    if (all || m_pending[x][y])
                        dc.SetPixelV(x, y, m_cells[x][y] ? gdi::kBlack : gdi::kWhite);
        }
        for (auto& column : m_pending)
            for (bool& p : column)
                p = false;
        m_lastCell = {-1, -1};
    }

    // The cell set last; (-1, -1) once it is written.
    gdi::Point m_lastCell{-1, -1};
    // Indexed [x][y]: 1 black, 0 white.
    int m_cells[kCells][kCells] = {};

  private:
    bool m_pending[kCells][kCells] = {};
};

// The value a drag paints, from the key-state flags: only exactly one button and no Shift or Ctrl
// paints.
std::optional<int> DragValue(unsigned flags);

// Qt's mouse events as the dialog's OnLButtonDown, OnRButtonDown and OnMouseMove, in client
// pixels with the key-state flags.
template <class Dialog>
void SendMousePress(Dialog& dialog, const QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        dialog.OnLButtonDown(KeyStateFlags(event), p.x(), p.y());
    else if (event->button() == Qt::RightButton)
        dialog.OnRButtonDown(KeyStateFlags(event), p.x(), p.y());
}

template <class Dialog>
void SendMouseMove(Dialog& dialog, const QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    dialog.OnMouseMove(KeyStateFlags(event), p.x(), p.y());
}

}  // namespace zk
