// The main window and the recovery store: a crashed run's map offered back at the start, and a
// clean close that leaves nothing to offer.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDir>
#include <QTemporaryDir>
#include <filesystem>

#include "app/main_frame.h"
#include "app/zk_app.h"
#include "doc/bitmap_file.h"
#include "res/resource.h"
#include "support/frame_harness.h"
#include "support/picture.h"
#include "view/zk_view.h"

namespace {

namespace fs = std::filesystem;
using namespace zk::res;
using zk_test::FrameHarness;
using Answer = zk::FramePrompts::RecoveryAnswer;

// The running store as a kill would leave it: its files copied while the process writes on,
// owned by a process that is gone.
std::string CrashCopy(const zk::RecoveryStore& store, const QString& folder) {
    fs::create_directories(folder.toStdString());
    const fs::path to = fs::path(folder.toStdString()) / fs::path(store.File()).filename();
    for (const char* suffix : {"", "-wal"})
        if (fs::exists(store.File() + suffix))
            fs::copy_file(store.File() + suffix, to.string() + suffix);
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(to.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, "UPDATE meta SET pid = 1", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    return to.string();
}

TEST(RecoveryFrame, ACrashedRunsMapComesBackAsItWasUnsavedWithItsName) {
    QTemporaryDir dir;
    const QString mapFile = dir.filePath(QStringLiteral("m.bmp"));
    ASSERT_TRUE(zk::WriteBitmapFile(mapFile.toStdString(), gdi::Bitmap(300, 200, 32, gdi::kWhite)));
    const QString folder = dir.filePath(QStringLiteral("recovery"));
    gdi::Bitmap painted;
    std::string copy;
    {
        FrameHarness f;
        ASSERT_TRUE(f.ok);
        ASSERT_TRUE(f.frame()->OpenDocumentFile(mapFile));
        ASSERT_TRUE(f.frame()->Recovery());
        f.view()->m_gridOn = 0;
        f.frame()->OnCommand(ID_TOOL_FREEHAND);
        for (int i = 0; i < 3; ++i)
            f.Drag(20 + 30 * i, 20, 40 + 30 * i, 80);
        f.frame()->FlushRecovery();
        f.frame()->Recovery()->WaitIdle();
        painted = f.doc().m_bitmap;
        ASSERT_NE(painted, gdi::Bitmap(300, 200, 32, gdi::kWhite));
        copy = CrashCopy(*f.frame()->Recovery(), folder);
    }
    const struct {
        Answer answer;
        bool restored, storeStays;
    } kCases[] = {
        {Answer::Restore, true, false},
        {Answer::Keep, false, true},
        {Answer::Discard, false, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        fs::remove_all(folder.toStdString() + "/again");
        const QString again = folder + QStringLiteral("/again");
        fs::create_directories(again.toStdString());
        const fs::path planted = fs::path(again.toStdString()) / fs::path(copy).filename();
        fs::copy_file(copy, planted);
        if (fs::exists(copy + "-wal"))
            fs::copy_file(copy + "-wal", planted.string() + "-wal");
        FrameHarness f;
        ASSERT_TRUE(f.ok);
        f.prompts->restoreAnswers = {c.answer};
        f.frame()->StartRecovery(again);
        ASSERT_EQ(f.prompts->restoreAsked.size(), 1);
        EXPECT_EQ(f.prompts->restoreAsked[0], QDir::toNativeSeparators(mapFile));
        EXPECT_EQ(fs::exists(planted), c.storeStays);
        if (!c.restored) {
            EXPECT_FALSE(f.doc().IsModified());
            continue;
        }
        EXPECT_TRUE(zk_test::SameBitmap(painted, f.doc().m_bitmap));
        EXPECT_EQ(QString::fromStdString(f.doc().GetPathName()), mapFile);
        EXPECT_EQ(f.doc().GetTitle(), "m.bmp");
        EXPECT_TRUE(f.doc().IsModified());
        EXPECT_FALSE(f.doc().CanUndo());
        // Save writes it to its own file, and the store is clean again.
        f.frame()->OnCommand(ID_FILE_SAVE);
        gdi::Bitmap saved;
        ASSERT_TRUE(zk::ReadBitmapFile(mapFile.toStdString(), saved));
        EXPECT_TRUE(zk_test::SameBitmap(painted, saved));
    }
}

TEST(RecoveryFrame, ACleanCloseLeavesNothingToOffer) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("recovery"));
    {
        FrameHarness f;
        ASSERT_TRUE(f.ok);
        f.frame()->StartRecovery(folder);
        f.view()->m_gridOn = 0;
        f.frame()->OnCommand(ID_TOOL_FREEHAND);
        f.Drag(20, 20, 60, 80);
        f.frame()->FlushRecovery();
        ASSERT_TRUE(f.doc().IsModified());
        f.prompts->saveChangesAnswer = QMessageBox::No;
        f.frame()->close();
    }
    EXPECT_TRUE(fs::is_empty(folder.toStdString()));
}

}  // namespace
