// The current symbol of the pattern library stamped at the pointer, turned by the symbol rotation:
// the left button ANDs it with the map, so its white pixels leave the map alone; the right button
// copies it. The symbol follows the pointer on the window as a preview.
#pragma once

#include <vector>

#include "gdi/bitmap.h"
#include "tools/map_tool.h"

namespace zk {

class SymbolTool : public MapTool {
  public:
    static constexpr int kSide = 16;

    // SnapPoint is the base SnapDown: a symbol starts at the corner of the grid cell.
    void OnLButtonDown(unsigned flags, int x, int y) override;
    void OnRButtonDown(unsigned flags, int x, int y) override;
    void OnLButtonUp(unsigned flags, int x, int y) override;
    void OnRButtonUp(unsigned flags, int x, int y) override;
    void OnMouseMove(unsigned flags, int x, int y) override;
    void CommitToMap(gdi::DC& dc) override;
    void DrawOverlay(gdi::DC& dc, float zoom) override;
    bool HasWorkToCommit() const override { return m_pending != 0 || !m_stamps.empty(); }

    // The top-left 16 x 16 pixels of `symbol` turned by `rotation` quarter turns counter-
    // clockwise, in the display format. Pixels a smaller symbol does not have read as white.
    static gdi::Bitmap RotatedSymbol(const gdi::Bitmap& symbol, int rotation);

    // 1: stamps are ANDed with the map; 0: copied. Set by each press.
    int m_useAnd = 1;

  private:
    struct Stamp {
        gdi::Point at;
        int useAnd;
    };
    void Begin(int useAnd);
    void Invalidate();

    // Every position a press or a move with the button held reaches, in order. A click released
    // before the next paint, or moves faster than the paints, still leave their stamps.
    std::vector<Stamp> m_stamps;
};

}  // namespace zk
