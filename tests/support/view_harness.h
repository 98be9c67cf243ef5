// Drives the real document and view as a mouse would: move, press, paint, release, then read
// the map's pixels or the window's picture.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <memory>
#include <string>

#include "doc/zk_doc.h"
#include "tools/tool_settings.h"
#include "view/zk_view.h"

namespace zk_test {

class ViewHarness {
  public:
    explicit ViewHarness(int width = 300, int height = 200) {
        zk::ToolSettings::ResetToDefaults();
        // Every press, undo and whole-map operation checks the undo record against a whole copy,
        // so a write to the map that bypasses the record fails the test that made it.
        doc.SetUndoCheck([](const std::string& what) { ADD_FAILURE() << what; });
        doc.OnNewDocument();
        view = std::make_unique<zk::CZKView>(&doc);
        view->resize(width, height);
        view->show();
        view->OnInitialUpdate();
        view->PaintNow();
    }
    ~ViewHarness() {
        // Whatever the test drew since the last press must be in the record too.
        doc.CheckUndo();
        view.reset();
    }

    void Select(int kind) { view->SelectTool(kind); }

    // Window points (viewport pixels).
    void Move(int x, int y, Qt::MouseButtons held = Qt::NoButton) {
        Send(QEvent::MouseMove, x, y, Qt::NoButton, held);
    }
    void Press(int x, int y, Qt::MouseButton b = Qt::LeftButton) {
        Send(QEvent::MouseButtonPress, x, y, b, b);
    }
    void Release(int x, int y, Qt::MouseButton b = Qt::LeftButton) {
        Send(QEvent::MouseButtonRelease, x, y, b, Qt::NoButton);
    }
    void DoubleClick(int x, int y, Qt::MouseButton b) {
        Send(QEvent::MouseButtonDblClick, x, y, b, b);
    }
    void Paint() { view->PaintNow(); }
    // The zoom, with the map's top-left corner at the window's (the zoom commands keep the
    // window's centre instead).
    void ZoomTo(float zoom) {
        zk::ToolSettings::zoom = zoom;
        view->UpdateScrollSizes();
        view->horizontalScrollBar()->setValue(0);
        view->verticalScrollBar()->setValue(0);
    }

    gdi::Color Map(int x, int y) const { return doc.m_bitmap.GetPixel(x, y); }
    gdi::Color Window(int x, int y) const { return view->WindowPicture().GetPixel(x, y); }
    // A copy of the map's part [x0, x1) x [y0, y1), to hold against a picture.
    gdi::Bitmap MapPart(int x0, int y0, int x1, int y1) const {
        gdi::Bitmap part(x1 - x0, y1 - y0);
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                part.SetPixel(x - x0, y - y0, Map(x, y));
        return part;
    }
    // The same of the window picture (window pixels).
    gdi::Bitmap WindowPart(int x0, int y0, int x1, int y1) const {
        gdi::Bitmap part(x1 - x0, y1 - y0);
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                part.SetPixel(x - x0, y - y0, Window(x, y));
        return part;
    }
    // Fills [x0, x1) x [y0, y1) of the map with c, as earlier drawing would have.
    void FillMap(int x0, int y0, int x1, int y1, gdi::Color c) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                doc.m_bitmap.SetPixel(x, y, c);
    }
    // Number of map pixels of colour c inside [x0, x1) x [y0, y1).
    int CountMap(gdi::Color c, int x0, int y0, int x1, int y1) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += Map(x, y) == c;
        return n;
    }

    zk::CZKDoc doc;
    std::unique_ptr<zk::CZKView> view;

  private:
    void Send(QEvent::Type type, int x, int y, Qt::MouseButton b, Qt::MouseButtons held) {
        const QPointF p(x, y);
        QMouseEvent e(type, p, view->viewport()->mapToGlobal(p), b, held, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &e);
    }
};

}  // namespace zk_test
