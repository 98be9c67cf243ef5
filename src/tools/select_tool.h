// A rectangle of the map marked with a rubber band, lifted out of the map (leaving white) so that
// it floats above it, dragged in grid steps and dropped again: ANDed with the map when the last
// press that began the band or the move was the left button, copied over it with the right. The
// clipboard commands cut and copy the floating pixels and paste a picture as a new floating
// selection.
#pragma once

#include <optional>

#include "gdi/bitmap.h"
#include "tools/map_tool.h"

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
    bool HasWorkToCommit() const override;
    // Floating pixels that were pasted, or moved away from where they were lifted, change the
    // picture: while they float and when they drop. A lift leaves it as it was (the pixels float
    // where they lay), and so does a drop where they were lifted from.
    bool WillChangeMap() const override;
    // Escape: a band being dragged is dropped; a floating selection lands where it floats.
    void Cancel() override;
    // The selection belonged to the old map: it is forgotten, never dropped into the new one.
    void Forget() override;
    // A floating selection lands where it floats, with its mode, at the next commit; one marked
    // but not yet lifted is simply unmarked. Whatever reads or replaces the whole map calls this
    // first, so that it works on what the screen shows.
    void Land();

    // The floating pixels while a selection floats (lifted or pasted), else null. A selection of
    // zero width or height floats with an empty bitmap.
    const gdi::Bitmap* GetFloatingBitmap() const;
    // Forgets the selection without dropping it: the place it was lifted from stays white.
    void ClearSelection();
    // The picture becomes the floating selection, its top-left corner at the last pointer
    // position (or at `at`); whatever floated before is discarded. The drop mode is kept.
    void PasteBitmap(gdi::Bitmap bitmap);
    void PasteBitmap(gdi::Bitmap bitmap, gdi::Point at);
    // Where the floating pixels were lifted from; empty for pasted ones and while nothing
    // floats.
    const std::optional<gdi::Rect>& LiftedFrom() const { return m_liftedFrom; }

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
    // The states the next commit acts on: Defined (a released band, lifted at the next paint)
    // and Dropping (a press outside, dropped at the next paint). With neither, as after
    // ClearSelection, a pending flag commits nothing.
    bool LiftPending() const;
    bool DropPending() const;

    std::optional<gdi::Rect> m_liftedFrom;

    void ButtonDown(gdi::Point at, int mode);
    void ButtonUp();
    void Invalidate();
};

}  // namespace zk
