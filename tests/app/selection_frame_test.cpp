// A floating selection belongs to the map it was lifted from: whatever reads or replaces the
// whole map works on what the screen shows, and nothing of it travels to another map.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "app/main_frame.h"
#include "app/zk_app.h"
#include "doc/bitmap_file.h"
#include "doc/map_file.h"
#include "res/resource.h"
#include "support/frame_harness.h"
#include "support/picture.h"
#include "tools/tool_settings.h"
#include "view/zk_view.h"

namespace {

using namespace zk::res;

// The main window over columns of bricks, with a red mark, under where the selection goes.
struct Frame : zk_test::FrameHarness {
    Frame() {
        if (!ok)
            return;
        view()->m_gridOn = 0;
        for (int y = 20; y < 60; ++y)
            for (int x = 20; x < 60; ++x)
                map().SetPixel(x, y,
                               x % 3 == 0 ? gdi::kBlack
                               : y == 35  ? zk_test::kRed
                                          : gdi::kWhite);
    }
    gdi::Bitmap& map() { return doc().m_bitmap; }
    zk::SelectTool& tool() { return view()->m_selectTool; }
    // A drag and the paint pass after it.
    void Stroke(int x0, int y0, int x1, int y1, Qt::MouseButton b = Qt::LeftButton) {
        Drag(x0, y0, x1, y1, b);
        Paint();
    }
    // The band (30, 30)-(50, 50), lifted; then moved by (dx, dy) with `b` when dx or dy is set.
    void Mark(int dx = 0, int dy = 0, Qt::MouseButton b = Qt::LeftButton) {
        frame()->OnCommand(ID_TOOL_SELECT);
        Stroke(30, 30, 50, 50);
        if (dx || dy)
            Stroke(40, 40, 40 + dx, 40 + dy, b);
    }
};

// The map the screen shows after the band (30, 30)-(50, 50) moved by (dx, dy): ANDed onto it
// or copied over it.
gdi::Bitmap Shown(const gdi::Bitmap& before, int dx, int dy, bool useAnd) {
    gdi::Bitmap shown = before;
    for (int y = 30; y < 50; ++y)
        for (int x = 30; x < 50; ++x)
            shown.SetPixel(x, y, gdi::kWhite);
    for (int y = 30; y < 50; ++y)
        for (int x = 30; x < 50; ++x) {
            const gdi::Color c = before.GetPixel(x, y);
            shown.SetPixel(x + dx, y + dy, useAnd ? c & shown.GetPixel(x + dx, y + dy) : c);
        }
    return shown;
}

TEST(FloatingSelection, WhatReadsTheWholeMapGetsWhatTheScreenShows) {
    struct Move {
        const char* what;
        int dx, dy;
        Qt::MouseButton button;
    };
    const Move moves[] = {{"marked only", 0, 0, Qt::LeftButton},
                          {"moved with the left button", 40, 10, Qt::LeftButton},
                          {"moved with the right button", 40, 10, Qt::RightButton}};
    struct Reader {
        const char* what;
        std::function<void(Frame&, const QString& file)> read;
        const char* writes = nullptr;  // the name of the file it writes
    };
    const Reader readers[] = {
        {"Save",
         [](Frame& f, const QString& file) {
             f.prompts->savePath = file;
             f.frame()->OnCommand(ID_FILE_SAVE);
         },
         "map.bmp"},
        {"Export",
         [](Frame& f, const QString& file) {
             f.prompts->exportPath = file;
             f.frame()->OnCommand(ID_FILE_EXPORT);
         },
         "map.png"},
        {"print preview",
         [](Frame& f, const QString&) {
             zk_test::CloseNextModal();
             f.frame()->OnCommand(ID_FILE_PRINT_PREVIEW);
         }},
        {"another tool", [](Frame& f, const QString&) { f.frame()->OnCommand(ID_TOOL_FREEHAND); }},
    };
    for (const Reader& r : readers)
        for (const Move& m : moves) {
            const std::string what = std::string(r.what) + ", " + m.what;
            QTemporaryDir dir;
            Frame f;
            ASSERT_TRUE(f.ok);
            const gdi::Bitmap expected = Shown(f.map(), m.dx, m.dy, m.button == Qt::LeftButton);
            f.doc().SetModifiedFlag(false);
            f.Mark(m.dx, m.dy, m.button);
            // Marking alone is no change; a moved selection is one.
            EXPECT_EQ(f.doc().IsModified(), m.dx != 0) << what;
            EXPECT_EQ(f.frame()->isWindowModified(), m.dx != 0) << what;
            const QString file = dir.filePath(r.writes ? r.writes : "map.bmp");
            r.read(f, file);
            EXPECT_EQ(f.tool().GetFloatingBitmap(), nullptr) << what;
            EXPECT_TRUE(zk_test::SameBitmap(expected, f.map()))
                << what << ": the map is not what was shown";
            if (r.writes) {
                gdi::Bitmap saved;
                ASSERT_TRUE(zk::ReadMapFile(file.toStdString(), saved)) << what;
                EXPECT_TRUE(zk_test::SameBitmap(expected, saved))
                    << what << ": the file is not what was shown";
            }
            // Back with the select tool, nothing floats to be dropped a second time.
            f.frame()->OnCommand(ID_TOOL_SELECT);
            f.Stroke(200, 200, 200, 200);
            f.Stroke(210, 210, 210, 210);
            EXPECT_TRUE(zk_test::SameBitmap(expected, f.map())) << what;
        }
}

TEST(FloatingSelection, NewOpenAndResizeLandItInItsOwnMapAndStartWithout) {
    QTemporaryDir dir;
    const QString other = dir.filePath("other.bmp");
    {
        gdi::Bitmap white(100, 80, 32, gdi::kWhite);
        ASSERT_TRUE(zk::WriteBitmapFile(other.toStdString(), white));
    }
    struct Case {
        const char* what;
        int dx;  // how far the selection moved before the command
        int command;
        int questions;  // save questions asked
    };
    const Case cases[] = {
        {"New after marking", 0, ID_FILE_NEW, 0},
        {"New after a move", 40, ID_FILE_NEW, 1},
        {"Open after a move", 40, ID_FILE_OPEN, 1},
    };
    for (const Case& c : cases) {
        Frame f;
        ASSERT_TRUE(f.ok);
        f.doc().SetModifiedFlag(false);
        f.prompts->saveChangesAnswer = QMessageBox::No;
        f.prompts->newSize = {{100, 80}};
        f.prompts->openPath = other;
        f.Mark(c.dx);
        f.frame()->OnCommand(c.command);
        EXPECT_EQ(f.prompts->askedAbout.size(), c.questions) << c.what;
        EXPECT_EQ(f.tool().GetFloatingBitmap(), nullptr) << c.what;
        const gdi::Bitmap fresh = f.map();
        // Choosing the select tool again and clicking drops nothing of the old map.
        f.frame()->OnCommand(ID_TOOL_SELECT);
        f.Stroke(10, 10, 10, 10);
        f.Stroke(90, 70, 90, 70);
        EXPECT_TRUE(zk_test::SameBitmap(fresh, f.map()))
            << c.what << ": the old selection reached the new map";
        EXPECT_TRUE(zk_test::SameBitmap(gdi::Bitmap(100, 80, 32, gdi::kWhite), f.map())) << c.what;
    }

    // Resize: the moved pixels land in the map before it is cut, then nothing floats.
    Frame f;
    ASSERT_TRUE(f.ok);
    const gdi::Bitmap before = f.map();
    f.Mark(40, 10);
    f.prompts->settings = {{16, 300, 200, 1}};
    f.frame()->OnCommand(ID_SETTINGS);
    EXPECT_EQ(f.tool().GetFloatingBitmap(), nullptr);
    const gdi::Bitmap shown = Shown(before, 40, 10, true);
    for (int y = 0; y < 200; y += 7)
        for (int x = 0; x < 300; x += 3)
            ASSERT_EQ(f.map().GetPixel(x, y), shown.GetPixel(x, y)) << x << ", " << y;
}

TEST(FloatingSelection, NewAndOpenForgetUnfinishedWork) {
    QTemporaryDir dir;
    const QString other = dir.filePath("other.bmp");
    ASSERT_TRUE(zk::WriteBitmapFile(other.toStdString(), gdi::Bitmap(100, 80, 32, gdi::kWhite)));
    for (const int command : {ID_FILE_NEW, ID_FILE_OPEN}) {
        Frame f;
        ASSERT_TRUE(f.ok);
        f.prompts->saveChangesAnswer = QMessageBox::No;
        f.prompts->newSize = {{100, 80}};
        f.prompts->openPath = other;
        f.frame()->OnCommand(ID_TOOL_POLYGON);
        f.Stroke(10, 10, 10, 10);
        f.Stroke(60, 10, 60, 10);
        ASSERT_EQ(f.view()->m_polygonTool.m_vertices.size(), 2u);
        f.view()->m_textTool.m_floating = 1;
        f.frame()->OnCommand(command);
        EXPECT_TRUE(f.view()->m_polygonTool.m_vertices.empty()) << command;
        EXPECT_EQ(f.view()->m_textTool.m_floating, 0) << command;
        // The next clicks start a new polygon on the new map, not close the old one.
        f.Stroke(50, 50, 50, 50);
        EXPECT_EQ(f.view()->m_polygonTool.m_vertices.size(), 1u) << command;
    }
}

TEST(FloatingSelection, EscapeReachesTheCurrentTool) {
    Frame f;
    ASSERT_TRUE(f.ok);
    f.frame()->OnCommand(ID_TOOL_POLYGON);
    f.Stroke(10, 10, 10, 10);
    f.Stroke(60, 10, 60, 10);
    QApplication::setActiveWindow(f.frame());
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.frame()));
    QTest::keyClick(f.view()->viewport(), Qt::Key_Escape);
    EXPECT_TRUE(f.view()->m_polygonTool.m_vertices.empty());
}

}  // namespace
