// One line of text written into the map: a first left click asks for the text (and the font),
// then the text follows the pointer as a yellow preview at the zoom, and a second left click
// places it, black on white. A right click drops a following text. With no text following, a
// yellow caret one grid step tall marks the pointer.
#pragma once

#include <functional>
#include <string>

#include "gdi/font.h"
#include "tools/map_tool.h"

namespace zk {

class TextTool : public MapTool {
  public:
    gdi::Point SnapPoint(int x, int y) override { return SnapNearest(x, y); }
    void OnLButtonDown(unsigned flags, int x, int y) override;
    void OnRButtonDown(unsigned flags, int x, int y) override;
    void OnMouseMove(unsigned flags, int x, int y) override;
    void CommitToMap(gdi::DC& dc) override;
    void DrawOverlay(gdi::DC& dc, float zoom) override;
    // A text following the pointer is dropped, as a right click drops it.
    void Cancel() override;

    // The font the preview is drawn with at `zoom`: the tool's font with its height and width
    // scaled (truncated; a width of 0, the face's own aspect, stays 0).
    gdi::LogFont PreviewFont(float zoom) const;

    // Asks the user for the text, starting from `text` and the tool's font: true when confirmed,
    // with `text` the new text. The font may be changed even when it returns false. The view sets
    // it to the text dialog; while it is empty a click asks nothing.
    std::function<bool(std::string& text, gdi::LogFont& font)> m_askText;

    // The entered text follows the pointer and waits to be placed.
    int m_floating = 0;
    // Where the text being placed goes: its cell starts at (x + 1, y + 1).
    gdi::Point m_textPos;
    // UTF-8; kept between uses, as is the font.
    std::string m_text;
    gdi::LogFont m_logFont = gdi::SystemFont();

  private:
    // The whole view, or the caret's area at the current and the previous point.
    void Repaint(bool whole);
};

}  // namespace zk
