#include "app/zk_app.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>

#include "app/main_frame.h"
#include "doc/bitmap_file.h"
#include "doc/pattern_library.h"
#include "res/resource.h"
#include "support/frame_harness.h"
#include "support/zk_program.h"
#include "tools/tool_settings.h"
#include "view/zk_view.h"

namespace {

using zk::ToolSettings;
using zk_test::CloseNextModal;
using zk_test::FrameHarness;

// The main window, and something drawn on its map when asked: a black pixel, marked modified.
struct App : FrameHarness {
    using FrameHarness::FrameHarness;
    void Draw() {
        doc().m_bitmap.SetPixel(1, 1, gdi::kBlack);
        doc().SetModifiedFlag(true);
    }
};

TEST(Application, FirstRunStartsWithTheDefaults) {
    ToolSettings::zoom = 4;
    ToolSettings::tilesize = 2;
    App a;
    ASSERT_TRUE(a.ok);
    EXPECT_EQ(ToolSettings::tool, 5);
    EXPECT_EQ(ToolSettings::fill, 8);
    EXPECT_EQ(ToolSettings::secfill, 4);
    EXPECT_EQ(ToolSettings::grid, 16);
    EXPECT_EQ(ToolSettings::line, 0);
    EXPECT_EQ(ToolSettings::symbol, 0);
    EXPECT_EQ(ToolSettings::overgrid, 1);
    EXPECT_EQ(ToolSettings::zoom, 1.0f);
    EXPECT_EQ(ToolSettings::tilesize, 0);
    EXPECT_EQ(a.doc().m_width, 672);
    EXPECT_EQ(a.doc().m_height, 944);
    EXPECT_EQ(a.doc().m_bitmap.GetPixel(671, 943), gdi::kWhite);
    EXPECT_EQ(a.frame()->windowTitle(), QString::fromUtf8("Bez názvu[*] - ZK"));
}

TEST(Application, SettingsSurviveARestartButZoomAndSizesDoNot) {
    {
        App a;
        ASSERT_TRUE(a.ok);
        ToolSettings::grid = 24;
        ToolSettings::fill = 3;
        ToolSettings::secfill = 11;
        ToolSettings::symbol = 7;
        ToolSettings::line = 2;
        a.frame()->OnCommand(zk::res::ID_TOOL_FREEHAND);
        ToolSettings::tilesize = 3;
        ToolSettings::symbolrotation = 2;
    }
    ToolSettings::ResetToDefaults();
    {
        auto s = zk::CZKApp::OpenSettings();
        EXPECT_EQ(s->value("set/grid").toInt(), 24);
        EXPECT_EQ(s->value("set/tool").toInt(), 1);
    }
    App b(FrameHarness::Store::AsItIs);
    ASSERT_TRUE(b.ok);
    EXPECT_EQ(ToolSettings::grid, 24);
    EXPECT_EQ(ToolSettings::fill, 3);
    EXPECT_EQ(ToolSettings::secfill, 11);
    EXPECT_EQ(ToolSettings::symbol, 7);
    EXPECT_EQ(ToolSettings::line, 2);
    EXPECT_EQ(ToolSettings::tool, 1);
    EXPECT_EQ(b.view()->CurrentTool(), &b.view()->m_freehandTool);
    EXPECT_EQ(ToolSettings::tilesize, 0);
    EXPECT_EQ(ToolSettings::symbolrotation, 0);
}

TEST(Application, StoredValuesOutOfRangeAreBroughtIntoRange) {
    FrameHarness::ClearStore();
    {
        auto s = zk::CZKApp::OpenSettings();
        s->setValue("set/grid", 0);
        s->setValue("set/fill", 40);
        s->setValue("set/secfill", -1);
        s->setValue("set/line", 9);
        s->setValue("set/symbol", "banana");
        s->setValue("set/tool", 77);
        s->sync();
    }
    App a(FrameHarness::Store::AsItIs);
    ASSERT_TRUE(a.ok);
    EXPECT_EQ(ToolSettings::grid, 1);
    EXPECT_EQ(ToolSettings::fill, 15);
    EXPECT_EQ(ToolSettings::secfill, 0);
    EXPECT_EQ(ToolSettings::line, 3);
    EXPECT_EQ(ToolSettings::symbol, 0);
    EXPECT_EQ(ToolSettings::tool, zk::kGridTilesTool);
    EXPECT_NE(a.view()->CurrentTool(), nullptr) << "no tool to paint with";
}

TEST(Application, AMapThatCannotBeReadStopsTheStartWithAReason) {
    QTemporaryDir dir;
    const QString bad = dir.filePath("bad.bmp");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a bitmap at all");
    f.close();
    App a({bad});
    EXPECT_FALSE(a.ok);
    EXPECT_EQ(a.frame(), nullptr) << "a window stayed open";
    EXPECT_TRUE(a.app.ErrorText().startsWith("cannot open " + bad + ": "))
        << a.app.ErrorText().toStdString();
}

TEST(Application, AMapOnTheCommandLineIsAtTheTopOfTheRecentFilesAtOnce) {
    QTemporaryDir dir;
    const QString file = dir.filePath("cellar.bmp");
    ASSERT_TRUE(zk::WriteBitmapFile(file.toStdString(), gdi::Bitmap(30, 20, 32, gdi::kWhite)));
    App a({file});
    ASSERT_TRUE(a.ok);
    QAction* first = a.action(zk::res::ID_FILE_MRU_FILE1);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(first->text().startsWith("&1 ") && first->text().endsWith("cellar.bmp"))
        << first->text().toStdString();
}

TEST(Application, AStartErrorIsShownInAMessageBoxOnAScreen) {
    QString shown;
    CloseNextModal(&shown);
    zk::CZKApp::ShowStartError(QStringLiteral("cannot open /x/map.bmp: not a bitmap file"),
                               {"/x/map.bmp"}, true);
    EXPECT_EQ(shown, QStringLiteral("Cannot open /x/map.bmp: not a bitmap file."));
    // Without a screen nobody could close the box: none is shown (the test would hang).
    zk::CZKApp::ShowStartError(QStringLiteral("cannot open x"), {"x"}, false);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// Only a start that was to open the window may wait on a box; printing and a command line that
// makes no command end by themselves, as a script needs, also on a screen.
TEST(Application, OnlyAWindowStartsErrorGetsABox) {
    const struct {
        QStringList args;
        QString file;
        bool print, misuse, box;
    } cases[] = {
        {{}, "", false, false, true},
        {{"map.bmp"}, "map.bmp", false, false, true},
        {{"-p", "map.bmp"}, "map.bmp", true, false, false},
        {{"map.bmp", "-p"}, "map.bmp", true, false, false},
        {{"/p", "map.bmp"}, "map.bmp", true, false, false},
        {{"-p"}, "", true, true, false},
        {{"--bogus"}, "", false, true, false},
        {{"map.bmp", "--bogus"}, "", false, true, false},
        {{"-"}, "", false, true, false},
        {{"a.bmp", "b.bmp"}, "", false, true, false},
        {{"-p", "a.bmp", "b.bmp"}, "", true, true, false},
        {{""}, "", false, true, false},
        {{"--export", "out.png", "map.bmp"}, "map.bmp", false, false, false},
        {{"--export=out.uvtt", "--grid=8", "map.png"}, "map.png", false, false, false},
        {{"--export", "out.png"}, "", false, true, false},
        {{"--grid", "8", "map.bmp"}, "", false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(("zk " + c.args.join(' ')).toStdString());
        const zk::CZKApp::CommandLine line = zk::CZKApp::ParseCommandLine(c.args);
        EXPECT_EQ(line.file, c.file);
        EXPECT_EQ(line.print, c.print);
        EXPECT_EQ(line.misuse.isEmpty(), !c.misuse) << line.misuse.toStdString();
        EXPECT_EQ(zk::CZKApp::StartErrorGetsABox(c.args, true), c.box);
        EXPECT_FALSE(zk::CZKApp::StartErrorGetsABox(c.args, false));
    }
}

TEST(MainFrame, TheStatusBarIsReadyAgainAfterACommandsDialog) {
    App a;
    ASSERT_TRUE(a.ok);
    QAction* about = a.action(zk::res::ID_APP_ABOUT);
    ASSERT_NE(about, nullptr);
    a.frame()->statusBar()->showMessage(about->statusTip());  // the pointer over the item
    QString closed;
    CloseNextModal(&closed);
    a.frame()->OnCommand(zk::res::ID_APP_ABOUT);
    EXPECT_EQ(closed, QString::fromUtf8("O programu ZK")) << "no About box, or misnamed";
    EXPECT_EQ(a.frame()->statusBar()->currentMessage(), QString::fromUtf8("Připraven"));
}

TEST(MainFrame, UnsavedWorkIsAskedAboutAndCancelKeepsEverything) {
    App a;
    ASSERT_TRUE(a.ok);
    a.Draw();
    a.prompts->saveChangesAnswer = QMessageBox::Cancel;
    EXPECT_FALSE(a.frame()->close());
    EXPECT_EQ(a.prompts->askedAbout, QStringList{QString::fromUtf8(zk::CZKDoc::kUntitledTitle)});
    EXPECT_EQ(a.doc().m_bitmap.GetPixel(1, 1), gdi::kBlack);

    // New: the dialog is preset to the current size; Cancel in the question keeps the map.
    a.prompts->newSize = std::make_pair(100, 50);
    a.frame()->OnCommand(zk::res::ID_FILE_NEW);
    EXPECT_EQ(a.prompts->presetW, 672);
    EXPECT_EQ(a.doc().m_width, 672);
    EXPECT_EQ(a.doc().m_bitmap.GetPixel(1, 1), gdi::kBlack);

    // No: the work is dropped and the new map made.
    a.prompts->saveChangesAnswer = QMessageBox::No;
    a.frame()->OnCommand(zk::res::ID_FILE_NEW);
    EXPECT_EQ(a.doc().m_width, 100);
    EXPECT_EQ(a.doc().m_height, 50);
    EXPECT_EQ(a.frame()->windowTitle(), QString::fromUtf8("Bez názvu[*] - ZK"));
    EXPECT_FALSE(a.doc().IsModified());
    // Nothing modified: closing asks nothing.
    a.prompts->askedAbout.clear();
    EXPECT_TRUE(a.frame()->close());
    EXPECT_TRUE(a.prompts->askedAbout.isEmpty());
}

TEST(MainFrame, YesSavesBeforeClosingAndAFailedSaveKeepsTheWindow) {
    QTemporaryDir dir;
    App a;
    ASSERT_TRUE(a.ok);
    a.Draw();
    a.prompts->saveChangesAnswer = QMessageBox::Yes;
    a.prompts->savePath = dir.filePath("no-such-folder/map.bmp");
    EXPECT_FALSE(a.frame()->close()) << "closed although the save failed";
    EXPECT_EQ(a.prompts->errors.size(), 1);
    EXPECT_EQ(a.frame()->windowTitle(), QString::fromUtf8("Bez názvu[*] - ZK"));

    a.prompts->savePath = dir.filePath("map.bmp");
    EXPECT_TRUE(a.frame()->close());
    gdi::Bitmap saved;
    ASSERT_TRUE(zk::ReadBitmapFile(dir.filePath("map.bmp").toStdString(), saved));
    EXPECT_EQ(saved.GetPixel(1, 1), gdi::kBlack);
}

TEST(MainFrame, SaveOpenAndTheRecentFileList) {
    QTemporaryDir dir;
    App a;
    ASSERT_TRUE(a.ok);
    a.Draw();
    a.prompts->savePath = dir.filePath("first.bmp");
    a.frame()->OnCommand(zk::res::ID_FILE_SAVE);
    EXPECT_EQ(a.prompts->saveAsked, 1);
    EXPECT_EQ(a.frame()->windowTitle(), QStringLiteral("first.bmp[*] - ZK"));
    EXPECT_FALSE(a.doc().IsModified());
    // A map with a path is saved without asking, modified or not.
    a.frame()->OnCommand(zk::res::ID_FILE_SAVE);
    EXPECT_EQ(a.prompts->saveAsked, 1);

    // Open: a broken file is reported and the current map kept.
    QFile f(dir.filePath("broken.bmp"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("BM");
    f.close();
    a.Draw();
    a.prompts->saveChangesAnswer = QMessageBox::No;
    a.prompts->openPath = dir.filePath("broken.bmp");
    a.frame()->OnCommand(zk::res::ID_FILE_OPEN);
    EXPECT_EQ(a.prompts->errors.size(), 1);
    EXPECT_EQ(a.doc().m_bitmap.GetPixel(1, 1), gdi::kBlack);
    EXPECT_EQ(a.frame()->windowTitle(), QStringLiteral("first.bmp[*] - ZK"));

    // Open a good one: zoom back to 1 and the grid on.
    gdi::Bitmap small(30, 20, 32, gdi::kWhite);
    ASSERT_TRUE(zk::WriteBitmapFile(dir.filePath("small.bmp").toStdString(), small));
    a.view()->OnZoomIn();
    a.view()->OnGrid();
    a.prompts->openPath = dir.filePath("small.bmp");
    a.frame()->OnCommand(zk::res::ID_FILE_OPEN);
    EXPECT_EQ(a.doc().m_width, 30);
    EXPECT_EQ(ToolSettings::zoom, 1.0f);
    EXPECT_EQ(a.view()->m_gridOn, 1);
    EXPECT_EQ(a.frame()->windowTitle(), QStringLiteral("small.bmp[*] - ZK"));
    const QStringList& recent = a.app.RecentFiles().Files();
    ASSERT_EQ(recent.size(), 2);
    EXPECT_TRUE(recent[0].endsWith("small.bmp"));
    EXPECT_TRUE(recent[1].endsWith("first.bmp"));
    QAction* first = a.action(zk::res::ID_FILE_MRU_FILE1);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->text().startsWith("&1 "));

    // The second entry opens the first map again.
    a.frame()->OnCommand(zk::res::ID_FILE_MRU_FILE1 + 1);
    EXPECT_EQ(a.doc().m_width, 672);

    // An entry whose file no longer reads leaves the list; a cancelled open keeps it.
    a.Draw();
    a.prompts->saveChangesAnswer = QMessageBox::Cancel;
    a.frame()->OnCommand(zk::res::ID_FILE_MRU_FILE1 + 1);
    EXPECT_EQ(a.app.RecentFiles().Files().size(), 2);
    QFile::resize(dir.filePath("small.bmp"), 20);
    a.prompts->saveChangesAnswer = QMessageBox::No;
    a.frame()->OnCommand(zk::res::ID_FILE_MRU_FILE1 + 1);
    ASSERT_EQ(a.app.RecentFiles().Files().size(), 1);
    EXPECT_TRUE(a.app.RecentFiles().Files()[0].endsWith("first.bmp"));
}

// An 8-bit file keeps 256 colours: a map of more is saved only when the user agrees to lose some.
TEST(MainFrame, AMapOfMoreThan256ColoursIsSavedOnlyWhenTheUserAgrees) {
    const struct {
        int colours;
        bool answer;
        bool asked, saved;
    } cases[] = {{256, false, false, true}, {300, false, true, false}, {300, true, true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.colours) +
                     (c.answer ? " colours, saved" : " colours, cancelled"));
        QTemporaryDir dir;
        App a;
        ASSERT_TRUE(a.ok);
        for (int i = 0; i + 1 < c.colours; ++i)  // and the map's white
            a.doc().m_bitmap.SetPixel(i % 600, i / 600, gdi::RGB(i & 255, i >> 8, 7));
        a.doc().SetModifiedFlag(true);
        a.prompts->reduceAnswer = c.answer;
        a.prompts->savePath = dir.filePath("map.bmp");
        a.frame()->OnCommand(zk::res::ID_FILE_SAVE);
        EXPECT_EQ(a.prompts->reduceAsked,
                  c.asked ? QList<quint32>{quint32(c.colours)} : QList<quint32>{});
        EXPECT_EQ(QFile::exists(dir.filePath("map.bmp")), c.saved);
        EXPECT_EQ(a.doc().IsModified(), !c.saved);
    }
}

// Edits to patterns whose files cannot be written reach the user before the window goes, who
// may try again; untouched fallbacks that cannot be created are no loss and are not mentioned.
TEST(MainFrame, PatternEditsThatCannotBeWrittenAreReportedWithARetry) {
    FrameHarness::ClearStore();
    QTemporaryDir home;
    const QString folder = home.filePath("brush");
    ASSERT_TRUE(QDir().mkpath(folder));
    {
        auto s = zk::CZKApp::OpenSettings();
        s->setValue("path/brush", folder + "/");
        s->sync();
    }
    App a(FrameHarness::Store::AsItIs);
    ASSERT_TRUE(a.ok);
    zk::g_patternLibrary.m_brushes[3].SetPixel(2, 2, gdi::kBlack);
    ASSERT_TRUE(QDir(folder).removeRecursively());
    a.prompts->onRetry = [&] { return QDir().mkpath(folder); };  // the user puts the folder back
    EXPECT_TRUE(a.frame()->close());
    ASSERT_EQ(a.prompts->retryTexts.size(), 1);
    const QString& text = a.prompts->retryTexts[0];
    EXPECT_TRUE(text.contains(folder +
                              QString::fromUtf8("/brush3.bmp: soubor nelze zapsat: No such file or "
                                                "directory")))
        << text.toStdString();
    EXPECT_FALSE(text.contains("brush4.bmp")) << text.toStdString();
    gdi::Bitmap written;
    ASSERT_TRUE(zk::ReadBitmapFile((folder + "/brush3.bmp").toStdString(), written));
    EXPECT_EQ(written.GetPixel(2, 2), gdi::kBlack);
}

TEST(MainFrame, MenusCarryTheirTextsAndMarks) {
    App a;
    ASSERT_TRUE(a.ok);
    QAction* grid = a.action(zk::res::ID_VIEW_GRID);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->text(), QString::fromUtf8("&Mřížka\tCtrl+G"));
    EXPECT_TRUE(grid->isChecked());
    a.frame()->OnCommand(zk::res::ID_VIEW_GRID);
    EXPECT_FALSE(grid->isChecked());
    a.frame()->OnCommand(zk::res::ID_TOOL_FREEHAND);
    EXPECT_TRUE(a.action(zk::res::ID_TOOL_FREEHAND)->isChecked());
    EXPECT_EQ(a.action(zk::res::ID_EDIT_UNDO)->text(), QString::fromUtf8("&Zpět\tCtrl+Z"));
}

TEST(MainFrame, KeysReachTheirCommands) {
    App a;
    ASSERT_TRUE(a.ok);
    a.frame()->activateWindow();
    QWidget* target = a.view()->viewport();
    QTest::keyClick(target, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(ToolSettings::zoom, 2.0f);
    QTest::keyClick(target, Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(target, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(ToolSettings::zoom, 0.5f);
}

// The program itself: a bad map on the command line, and a signal that ends it.
using Program = zk_test::ZkProgram;

TEST_F(Program, BadMapOnTheCommandLineExitsWithStatusOne) {
    const QString missing = home.filePath("missing.bmp");
    const Run run = RunZk({missing}, env);
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("zk: cannot open " + missing + ": ")) << run.err.toStdString();
}

// A script's command line never waits on a message box, also on a screen: it says why on stderr
// and ends, with 2 when the arguments make no command (then the usage follows) and 1 when the
// command cannot be done.
TEST_F(Program, ScriptedCommandLinesEndWithTheirReasonAndNoBox) {
    const QString map = home.filePath("map.bmp");
    ASSERT_TRUE(zk::WriteBitmapFile(map.toStdString(), gdi::Bitmap(20, 10, 32, gdi::kWhite)));
    const QString missing = home.filePath("missing.bmp");
    const Run help = RunZk({"--help"}, env);
    ASSERT_TRUE(help.ended);
    ASSERT_TRUE(help.out.startsWith("Usage: ")) << help.out.toStdString();
    env.insert("CUPS_SERVER", "/nonexistent/cups.sock");  // no print server: no printer

    const struct {
        QStringList args;
        int status;
        QString line;  // the program's one line of reason
        bool usage;
    } cases[] = {
        {{"--bogus"}, 2, "unknown option --bogus", true},
        {{"a.bmp", "b.bmp"}, 2, "more than one map file: a.bmp, b.bmp", true},
        {{"-p"}, 2, "-p needs the map file to print", true},
        {{"-p", missing},
         1,
         "cannot open " + missing + ": cannot open file: No such file or directory",
         false},
        {{"-p", map}, 1, "cannot print " + map + ": no printer is set up", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(("zk " + c.args.join(' ')).toStdString());
        const Run run = RunZk(c.args, OnAScreen());
        ASSERT_TRUE(run.ended) << "still running: waits on a box?\n" << run.err.toStdString();
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(OwnLines(run.err), "zk: " + c.line + "\n" + (c.usage ? help.out : QString()));
        EXPECT_EQ(run.out, "");
    }
}

// A user who started the program from a desktop and named a bad map sees why in a box.
TEST_F(Program, ABadMapOnAPlainStartWaitsOnItsBoxOnAScreen) {
    if (!HaveAScreen())
        GTEST_SKIP() << "no vnc platform plugin to stand for a screen";
    QProcess zk;
    zk.setProcessEnvironment(OnAScreen());
    zk.setWorkingDirectory(home.path());
    zk.setReadChannel(QProcess::StandardError);
    zk.start(ZK_BINARY, {home.filePath("missing.bmp")});
    QString err;
    while (!err.contains("zk: cannot open") && zk.waitForReadyRead(20000))
        err += QString::fromLocal8Bit(zk.readAllStandardError());
    ASSERT_TRUE(err.contains("zk: cannot open")) << err.toStdString();
    EXPECT_FALSE(zk.waitForFinished(1000)) << "ended without showing the box";
    zk.kill();
    zk.waitForFinished();
}

TEST_F(Program, TerminationSignalWritesTheSettingsWithoutQuestions) {
    QProcess zk;
    zk.setProcessEnvironment(env);
    zk.setWorkingDirectory(home.path());
    zk.start(ZK_BINARY, {});
    ASSERT_TRUE(zk.waitForStarted(30000));
    QTest::qWait(1500);
    ASSERT_EQ(zk.state(), QProcess::Running);
    ::kill(static_cast<pid_t>(zk.processId()), SIGTERM);
    ASSERT_TRUE(zk.waitForFinished(30000));
    EXPECT_EQ(zk.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(zk.exitCode(), 0);
    QSettings written(home.filePath("config/ZK/ZK.conf"), QSettings::IniFormat);
    EXPECT_EQ(written.value("set/tool").toInt(), 5);
    EXPECT_EQ(written.value("set/grid").toInt(), 16);
}

}  // namespace
