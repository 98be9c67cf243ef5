// A rectangle of the map marked with a rubber band, lifted out of the map (leaving white) so that
// it floats above it, dragged in grid steps and dropped again: ANDed with the map when the last
// press that began the band or the move was the left button, copied over it with the right. The
// clipboard commands cut and copy the floating pixels and paste a picture as a new floating
// selection.
#pragma once

#include "gdi/bitmap.h"
#include "view/map_tool.h"

namespace zk {

class SelectTool : public MapTool {
  public:
    SelectTool();

    // SnapPoint is the base SnapDown: a band starts and ends on the grid line at or before the
    // pointer.
    void OnLButtonUp(unsigned flags, int x, int y) override;
    void OnLButtonDown(unsigned flags, int x, int y) override;
    void OnRButtonUp(unsigned flags, int x, int y) override;
    void OnRButtonDown(unsigned flags, int x, int y) override;
    void OnMouseMove(unsigned flags, int x, int y) override;
    void CommitToMap(gdi::DC& dc) override;
    void DrawOverlay(gdi::DC& dc, float zoom) override;
    // Only a lift or a drop changes the map; a pending flag left by ClearSelection does not.
    bool HasWorkToCommit() const override;

    // The floating pixels while a selection floats (lifted or pasted), else null. A selection of
    // zero width or height floats with an empty bitmap.
    const gdi::Bitmap* GetFloatingBitmap() const;
    // Forgets the selection without dropping it: the place it was lifted from stays white.
    void ClearSelection();
    // The picture becomes the floating selection, its top-left corner at the last pointer
    // position; whatever floated before is discarded. The drop mode is kept.
    void PasteBitmap(gdi::Bitmap bitmap);

    int m_moving = 0;
    int m_floating = 0;
    gdi::Bitmap m_selBitmap;
    int m_hasSelection = 0;
    // Columns left..right-1 and rows top..bottom-1; left <= right and top <= bottom.
    gdi::Rect m_selRect;
    int m_banding = 0;
    // 1: the floating pixels meet the map by AND (white leaves the map alone); 0: they replace
    // it. A paste before any press copies.
    int m_useAnd = 0;
    gdi::Point m_anchor{0, 0};

  private:
    void ButtonDown(gdi::Point at, int mode);
    void ButtonUp();
    void Invalidate();
};

}  // namespace zk
