// The main window as the program starts it, its questions answered by the recording prompts, and
// the mouse over its map view.
#pragma once

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <memory>

#include "app/main_frame.h"
#include "app/zk_app.h"
#include "support/recording_prompts.h"
#include "support/view_harness.h"
#include "view/zk_view.h"

namespace zk_test {

class FrameHarness : public ViewMouse {
  public:
    // The settings store the start reads: emptied, as on a first run, or as the test left it.
    enum class Store { Cleared, AsItIs };

    explicit FrameHarness(Store store = Store::Cleared, const QStringList& args = {}) {
        if (store == Store::Cleared)
            ClearStore();
        ok = app.InitInstance(args);
        if (!ok)
            return;
        auto p = std::make_unique<RecordingPrompts>();
        prompts = p.get();
        frame()->SetPrompts(std::move(p));
    }
    explicit FrameHarness(const QStringList& args) : FrameHarness(Store::Cleared, args) {}
    ~FrameHarness() override {
        if (ok && frame())
            frame()->CloseWithoutAsking();
        app.ExitInstance();
    }

    static void ClearStore() {
        auto s = zk::CZKApp::OpenSettings();
        s->clear();
        s->sync();
    }

    zk::CMainFrame* frame() const { return app.MainFrame(); }
    zk::CZKView* view() const { return frame()->GetView(); }
    zk::CZKDoc& doc() { return app.Document(); }
    QAction* action(int id) const { return frame()->Action(id); }

    zk::CZKApp app;
    bool ok = false;
    RecordingPrompts* prompts = nullptr;

  protected:
    zk::CZKView* MouseView() const override { return view(); }
};

// Closes the next modal window once it is open (a message box, a dialog); its text, or its title
// when it is no message box, goes to `text`.
inline void CloseNextModal(QString* text = nullptr) {
    QTimer::singleShot(20, [text] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return CloseNextModal(text);
        if (text) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            *text = box ? box->text() : modal->windowTitle();
        }
        modal->close();
    });
}

}  // namespace zk_test
