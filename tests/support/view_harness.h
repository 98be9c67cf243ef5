// Drives the real document and view as a mouse would: move, press, paint, release, then read
// the map's pixels or the window's picture.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <memory>
#include <string>

#include "doc/zk_doc.h"
#include "view/tool_settings.h"
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

    gdi::Color Map(int x, int y) const { return doc.m_bitmap.GetPixel(x, y); }
    gdi::Color Window(int x, int y) const { return view->WindowPicture().GetPixel(x, y); }
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
