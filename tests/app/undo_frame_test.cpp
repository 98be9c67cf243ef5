// Undo and Redo in the main window: the commands' states, the unsaved-changes mark at the saved
// step, and the limit the settings store sets.
#include <gtest/gtest.h>

#include <QAction>
#include <QSettings>
#include <QTemporaryDir>

#include "app/main_frame.h"
#include "app/zk_app.h"
#include "res/resource.h"
#include "support/frame_harness.h"
#include "view/zk_view.h"

namespace {

using namespace zk::res;
using zk_test::FrameHarness;

TEST(UndoCommands, FollowTheHistoryAndTheMarkFollowsTheSavedStep) {
    QTemporaryDir dir;
    FrameHarness f;
    ASSERT_TRUE(f.ok);
    f.view()->m_gridOn = 0;
    f.frame()->OnCommand(ID_TOOL_FREEHAND);
    f.frame()->UpdateCommandUI();
    EXPECT_FALSE(f.action(ID_EDIT_UNDO)->isEnabled());
    EXPECT_FALSE(f.action(ID_EDIT_REDO)->isEnabled());
    for (int i = 0; i < 3; ++i) {
        f.Drag(20 + 30 * i, 20, 40 + 30 * i, 80);
        f.Paint();
    }
    f.frame()->UpdateCommandUI();
    EXPECT_TRUE(f.action(ID_EDIT_UNDO)->isEnabled());
    EXPECT_FALSE(f.action(ID_EDIT_REDO)->isEnabled());

    f.prompts->savePath = dir.filePath("map.bmp");
    f.frame()->OnCommand(ID_FILE_SAVE);
    EXPECT_FALSE(f.frame()->isWindowModified());
    f.frame()->OnCommand(ID_EDIT_UNDO);
    EXPECT_TRUE(f.frame()->isWindowModified()) << "undone past the saved step";
    EXPECT_TRUE(f.action(ID_EDIT_REDO)->isEnabled());
    f.frame()->OnCommand(ID_EDIT_REDO);
    EXPECT_FALSE(f.frame()->isWindowModified()) << "back at the saved step";
    EXPECT_FALSE(f.action(ID_EDIT_REDO)->isEnabled());
    // Undone to the new map, the question about unsaved changes is asked: the file holds more.
    for (int i = 0; i < 3; ++i)
        f.frame()->OnCommand(ID_EDIT_UNDO);
    EXPECT_FALSE(f.action(ID_EDIT_UNDO)->isEnabled());
    EXPECT_TRUE(f.doc().IsModified());
    // New starts a history of its own.
    f.prompts->saveChangesAnswer = QMessageBox::No;
    f.prompts->newSize = {{100, 80}};
    f.frame()->OnCommand(ID_FILE_NEW);
    EXPECT_FALSE(f.action(ID_EDIT_UNDO)->isEnabled());
    EXPECT_FALSE(f.action(ID_EDIT_REDO)->isEnabled());
}

TEST(UndoCommands, TheLimitComesFromTheSettingsStoreBroughtIntoRange) {
    const struct {
        QVariant stored;
        std::size_t mib;
    } cases[] = {{QVariant(), 512},  {QVariant(64), 64},         {QVariant(3), 16},
                 {QVariant(-1), 16}, {QVariant(1 << 20), 65536}, {QVariant("lots"), 512}};
    for (const auto& c : cases) {
        FrameHarness::ClearStore();
        {
            auto s = zk::CZKApp::OpenSettings();
            if (c.stored.isValid())
                s->setValue(QString::fromLatin1(zk::CZKApp::kUndoLimitKey), c.stored);
        }
        FrameHarness f(FrameHarness::Store::AsItIs);
        ASSERT_TRUE(f.ok);
        EXPECT_EQ(f.doc().History().Limit(), c.mib << 20) << c.stored.toString().toStdString();
    }
}

}  // namespace
