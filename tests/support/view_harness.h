// Drives the real document and view as a mouse would: move, press, paint, release, then read
// the map's pixels or the window's picture.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "doc/zk_doc.h"
#include "support/history_check.h"
#include "support/picture.h"
#include "tools/tool_settings.h"
#include "view/zk_view.h"

namespace zk_test {

// The mouse over a map view's window, in window points (viewport pixels), and the view's paint
// pass: the same for a view of its own and for the main window's.
class ViewMouse {
  public:
    virtual ~ViewMouse() = default;

    void Move(int x, int y, Qt::MouseButtons held = Qt::NoButton) {
        Send(QEvent::MouseMove, x, y, Qt::NoButton, held);
    }
    void Press(int x, int y, Qt::MouseButton b = Qt::LeftButton) {
        BeforePress();
        Send(QEvent::MouseButtonPress, x, y, b, b);
    }
    void Release(int x, int y, Qt::MouseButton b = Qt::LeftButton) {
        Send(QEvent::MouseButtonRelease, x, y, b, Qt::NoButton);
    }
    void DoubleClick(int x, int y, Qt::MouseButton b) {
        Send(QEvent::MouseButtonDblClick, x, y, b, b);
    }
    // Moves to (x0, y0), presses, moves to (x1, y1) with the button held and releases there.
    void Drag(int x0, int y0, int x1, int y1, Qt::MouseButton b = Qt::LeftButton) {
        Move(x0, y0);
        Press(x0, y0, b);
        Move(x1, y1, b);
        Release(x1, y1, b);
    }
    void Click(int x, int y, Qt::MouseButton b = Qt::LeftButton) {
        Move(x, y);
        Press(x, y, b);
        Release(x, y, b);
    }
    // A click with a paint pass before the release, as a tile or a symbol is stamped.
    void Stamp(int x, int y, Qt::MouseButton b = Qt::LeftButton) {
        Move(x, y);
        Press(x, y, b);
        Paint();
        Release(x, y, b);
    }
    void Wheel(int x, int y, QPoint delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QPointF p(x, y);
        QWheelEvent e(p, Viewport()->mapToGlobal(p), QPoint(), delta, Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(Viewport(), &e);
    }
    // The pointer leaves the window.
    void Leave() {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(Viewport(), &leave);
    }
    void Paint() {
        MouseView()->PaintNow();
        AfterPaint();
    }

  protected:
    virtual zk::CZKView* MouseView() const = 0;
    // Told before every press, while the map still holds the gesture before it, and after every
    // paint pass, once the tool has committed.
    virtual void BeforePress() {}
    virtual void AfterPaint() {}

  private:
    QWidget* Viewport() const { return MouseView()->viewport(); }
    void Send(QEvent::Type type, int x, int y, Qt::MouseButton b, Qt::MouseButtons held) {
        const QPointF p(x, y);
        QMouseEvent e(type, p, Viewport()->mapToGlobal(p), b, held, Qt::NoModifier);
        QApplication::sendEvent(Viewport(), &e);
    }
};

// A document and a view of it, window width x height, on a new map of the default size. Parts
// of the map and of the window are [x0, x1) x [y0, y1), in map or window pixels.
class ViewHarness : public ViewMouse {
  public:
    explicit ViewHarness(int width = 300, int height = 200) {
        zk::ToolSettings::ResetToDefaults();
        doc.OnNewDocument();
        history = std::make_unique<HistoryCheck>(doc);
        view = std::make_unique<zk::CZKView>(&doc);
        view->resize(width, height);
        view->show();
        view->OnInitialUpdate();
        view->PaintNow();
    }
    ~ViewHarness() override {
        // The map at every press is a step of the history: undone to the start and redone to
        // the end, the history must pass through those maps and come back, so a write that
        // bypassed it, or a step that restores the wrong pixels, fails the test that made it.
        if (history) {
            view->CommitToolWork();
            view->LandSelection();
            const std::string fault =
                history->Walk([this] { view->OnEditUndo(); }, [this] { view->OnEditRedo(); });
            if (!fault.empty())
                ADD_FAILURE() << "history: " << fault;
        }
        view.reset();
    }

    void Select(int kind) { view->SelectTool(kind); }
    // For tests of large maps that are not about undo: no copy of the map at every press.
    void SkipHistoryCheck() { history.reset(); }
    // The zoom, with the window's top-left corner at (scrollX, scrollY) of the zoomed map (the
    // zoom commands keep the window's centre instead).
    void ZoomTo(float zoom, int scrollX = 0, int scrollY = 0) {
        zk::ToolSettings::zoom = zoom;
        view->UpdateScrollSizes();
        view->horizontalScrollBar()->setValue(scrollX);
        view->verticalScrollBar()->setValue(scrollY);
    }

    gdi::Color Map(int x, int y) const { return doc.m_bitmap.GetPixel(x, y); }
    gdi::Color Window(int x, int y) const { return view->WindowPicture().GetPixel(x, y); }
    // A copy of a part of the map, to hold against a picture.
    gdi::Bitmap MapPart(const gdi::Rect& part) const {
        gdi::Bitmap copy(part.right - part.left, part.bottom - part.top);
        for (int y = part.top; y < part.bottom; ++y)
            for (int x = part.left; x < part.right; ++x)
                copy.SetPixel(x - part.left, y - part.top, Map(x, y));
        return copy;
    }
    // Fills a part of the map with c, as earlier drawing would have.
    void FillMap(int x0, int y0, int x1, int y1, gdi::Color c) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                doc.m_bitmap.SetPixel(x, y, c);
    }
    // Number of pixels of colour c in a part of the map, or of the window.
    int CountMap(gdi::Color c, int x0, int y0, int x1, int y1) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += Map(x, y) == c;
        return n;
    }
    int CountWindow(gdi::Color c, int x0, int y0, int x1, int y1) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += Window(x, y) == c;
        return n;
    }
    // What window pixel (x, y) must show, worked out from the map alone: the map pixel the
    // pointer names there when the map is enlarged, the AND of its whole block when it is shrunk
    // (grey where the block is not whole), light grey beyond the map. Grid dots and tool marks
    // are not in it: for a view with no tool and the grid off.
    gdi::Color ExpectedWindow(int x, int y) const {
        const double zoom = zk::ToolSettings::zoom;
        const int k = zoom < 1 ? static_cast<int>(1 / zoom) : 1;
        const std::int64_t wx = x + view->horizontalScrollBar()->value();
        const std::int64_t wy = y + view->verticalScrollBar()->value();
        const auto mx = static_cast<std::int64_t>(std::floor(static_cast<double>(wx) / zoom));
        const auto my = static_cast<std::int64_t>(std::floor(static_cast<double>(wy) / zoom));
        if (mx < 0 || my < 0 || mx + k > doc.m_bitmap.Width() || my + k > doc.m_bitmap.Height())
            return zk::CZKView::kOutsideColor;
        gdi::Color expected = 0xFFFFFF;
        for (int j = 0; j < k; ++j)
            for (int i = 0; i < k; ++i)
                expected &= Map(static_cast<int>(mx) + i, static_cast<int>(my) + j);
        return expected;
    }
    // The whole window as ExpectedWindow says it must look, to hold against the last paint.
    gdi::Bitmap ExpectedWindowPicture() const {
        const gdi::Bitmap& window = view->WindowPicture();
        gdi::Bitmap expected(window.Width(), window.Height());
        for (int y = 0; y < window.Height(); ++y)
            for (int x = 0; x < window.Width(); ++x)
                expected.SetPixel(x, y, ExpectedWindow(x, y));
        return expected;
    }

    // Number of map pixels outside the given parts that are not as in `before`: what a tool
    // changed where it had no business, when a picture shows only the parts.
    int ChangedOutside(const gdi::Bitmap& before, std::initializer_list<gdi::Rect> parts) const {
        int n = 0;
        for (int y = 0; y < doc.m_bitmap.Height(); ++y)
            for (int x = 0; x < doc.m_bitmap.Width(); ++x) {
                bool inside = false;
                for (const gdi::Rect& r : parts)
                    inside = inside || r.Contains(x, y);
                n += !inside && Map(x, y) != before.GetPixel(x, y);
            }
        return n;
    }

    zk::CZKDoc doc;
    std::unique_ptr<zk::CZKView> view;
    std::unique_ptr<HistoryCheck> history;

  protected:
    zk::CZKView* MouseView() const override { return view.get(); }
    void BeforePress() override {
        if (!history)
            return;
        // Work still queued lands at the press, before the gesture it belongs to ends.
        view->CommitToolWork();
        history->Note();
    }
    void AfterPaint() override {
        if (history)
            history->Note();
    }
};

}  // namespace zk_test
