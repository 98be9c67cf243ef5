// What the main window does as a Qt desktop program: the unsaved-changes mark in its title, maps
// dropped on it, its place and bars kept between runs, the extra keys, the status panes, help
// without a program for HTML pages, and the command line's --help and --version.
#include <gtest/gtest.h>

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QUrl>

#include "app/main_frame.h"
#include "app/zk_app.h"
#include "doc/bitmap_file.h"
#include "res/resource.h"
#include "support/frame_harness.h"
#include "tools/tool_settings.h"
#include "view/zk_view.h"

namespace {

using zk::ToolSettings;

using App = zk_test::FrameHarness;

TEST(DesktopFrame, TheTitleMarksUnsavedChanges) {
    QTemporaryDir dir;
    App a;
    ASSERT_TRUE(a.ok);
    EXPECT_EQ(a.frame()->windowTitle(), QString::fromUtf8("Bez názvu[*] - ZK"));
    EXPECT_FALSE(a.frame()->isWindowModified());
    a.Stamp(40, 40);
    EXPECT_TRUE(a.frame()->isWindowModified()) << "a stroke left no mark";
    ASSERT_TRUE(a.frame()->DoSave(dir.filePath("m.bmp")));
    EXPECT_EQ(a.frame()->windowTitle(), QStringLiteral("m.bmp[*] - ZK"));
    EXPECT_FALSE(a.frame()->isWindowModified());
    a.frame()->OnCommand(zk::res::ID_EDIT_UNDO);
    EXPECT_EQ(a.frame()->isWindowModified(), a.doc().IsModified());
}

// Sends a drag over the window and the drop; whether the window took the drag.
bool Drop(zk::CMainFrame* frame, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint at(frame->width() / 2, frame->height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &drop);
    QApplication::processEvents();
    return drop.isAccepted();
}

TEST(DesktopFrame, ADroppedMapFileOpensAfterTheUnsavedChangesQuestion) {
    QTemporaryDir dir;
    const QString map = dir.filePath("Dropped.BMP");
    ASSERT_TRUE(zk::WriteBitmapFile(map.toStdString(), gdi::Bitmap(30, 20, 32, gdi::kWhite)));
    App a;
    ASSERT_TRUE(a.ok);
    EXPECT_FALSE(Drop(a.frame(), {QUrl::fromLocalFile(dir.filePath("notes.txt"))}));
    EXPECT_FALSE(Drop(a.frame(), {QUrl(QStringLiteral("https://example.org/map.bmp"))}));

    a.Stamp(40, 40);
    a.prompts->saveChangesAnswer = QMessageBox::Cancel;
    EXPECT_TRUE(
        Drop(a.frame(), {QUrl::fromLocalFile(dir.filePath("a.txt")), QUrl::fromLocalFile(map)}));
    EXPECT_EQ(a.prompts->askedAbout, QStringList{QString::fromUtf8(zk::CZKDoc::kUntitledTitle)});
    EXPECT_EQ(a.doc().m_width, 672) << "opened although the user cancelled";

    a.prompts->saveChangesAnswer = QMessageBox::No;
    EXPECT_TRUE(Drop(a.frame(), {QUrl::fromLocalFile(map)}));
    EXPECT_EQ(a.doc().m_width, 30);
    EXPECT_EQ(a.frame()->windowTitle(), QStringLiteral("Dropped.BMP[*] - ZK"));
    EXPECT_TRUE(a.app.RecentFiles().Files().value(0).endsWith("Dropped.BMP"));
}

TEST(DesktopFrame, TheWindowsPlaceAndBarsComeBackOnTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    {
        App a;
        ASSERT_TRUE(a.ok);
        a.frame()->setGeometry(screen.left() + 30, screen.top() + 40, 520, 410);
        a.frame()->OnCommand(zk::res::ID_VIEW_SIZEBAR);
        a.frame()->removeToolBar(a.frame()->m_wndToolsBar);
        a.frame()->addToolBar(Qt::RightToolBarArea, a.frame()->m_wndToolsBar);
        a.frame()->m_wndToolsBar->show();
    }
    {
        App a(App::Store::AsItIs);
        ASSERT_TRUE(a.ok);
        EXPECT_EQ(a.frame()->size(), QSize(520, 410));
        // Give or take the frame the platform draws around the window.
        EXPECT_LE(
            (a.frame()->pos() - QPoint(screen.left() + 30, screen.top() + 40)).manhattanLength(),
            8);
        EXPECT_TRUE(a.frame()->m_wndSizeBar->isHidden());
        EXPECT_EQ(a.frame()->toolBarArea(a.frame()->m_wndToolsBar), Qt::RightToolBarArea);
        // A place on a screen that is gone now.
        a.frame()->move(screen.right() + 5000, screen.bottom() + 5000);
    }
    App a(App::Store::AsItIs);
    ASSERT_TRUE(a.ok);
    const QRect shown = a.frame()->geometry().intersected(screen);
    EXPECT_GE(shown.width(), 100) << "window off the screen";
    EXPECT_GE(shown.height(), 50) << "window off the screen";
}

TEST(DesktopFrame, TheExtraKeysSaveAsQuitAndZoom) {
    App a;
    ASSERT_TRUE(a.ok);
    a.frame()->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(a.frame()));
    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        float zoom;  // from 1
    };
    const Key zooms[] = {
        {Qt::Key_Plus, Qt::NoModifier, 2},          {Qt::Key_Plus, Qt::ControlModifier, 2},
        {Qt::Key_Equal, Qt::ControlModifier, 2},    {Qt::Key_Minus, Qt::NoModifier, 0.5f},
        {Qt::Key_Minus, Qt::ControlModifier, 0.5f}, {Qt::Key_Plus, Qt::KeypadModifier, 2},
        {Qt::Key_Minus, Qt::KeypadModifier, 0.5f},
    };
    for (const Key& k : zooms) {
        ToolSettings::zoom = 1;
        QTest::keyClick(a.view(), k.key, k.modifiers);
        EXPECT_EQ(ToolSettings::zoom, k.zoom) << k.key << " " << k.modifiers;
    }
    // Ctrl+Shift+J shows the whole map; 1 goes back to zoom 1.
    ToolSettings::zoom = 4;
    a.view()->UpdateScrollSizes();
    QTest::keyClick(a.view(), Qt::Key_J, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_LT(ToolSettings::zoom, 1.0f);
    EXPECT_EQ(a.view()->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(a.view()->verticalScrollBar()->maximum(), 0);
    QTest::keyClick(a.view(), Qt::Key_1);
    EXPECT_EQ(ToolSettings::zoom, 1.0f);
    QTest::keyClick(a.view(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(a.prompts->saveAsked, 1) << "Ctrl+Shift+S asked for no name";
    QTest::keyClick(a.view(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(a.frame()->isVisible()) << "Ctrl+Q left the window open";
}

TEST(DesktopFrame, TheStatusBarShowsThePointerTheZoomAndTheMapSize) {
    App a;
    ASSERT_TRUE(a.ok);
    ToolSettings::grid = 16;
    auto panes = [&] {
        QStringList texts;
        for (QLabel* l : a.frame()->statusBar()->findChildren<QLabel*>())
            if (!l->text().isEmpty() && l->isVisibleTo(a.frame()->statusBar()))
                texts << l->text();
        return texts;
    };
    a.Move(70, 35);
    EXPECT_TRUE(panes().contains("70, 35")) << panes().join('|').toStdString();
    EXPECT_TRUE(panes().contains(QString::fromUtf8("buňka 4, 2")));
    EXPECT_TRUE(panes().contains("100 %"));
    EXPECT_TRUE(panes().contains(QString::fromUtf8("672 × 944")));
    a.frame()->OnCommand(zk::res::ID_VIEW_ZOOMIN);
    EXPECT_TRUE(panes().contains("200 %"));
    a.frame()->OnCommand(zk::res::ID_VIEW_ZOOMOUT);
    a.frame()->OnCommand(zk::res::ID_VIEW_ZOOMOUT);
    a.frame()->OnCommand(zk::res::ID_VIEW_ZOOMOUT);
    a.frame()->OnCommand(zk::res::ID_VIEW_ZOOMOUT);
    EXPECT_TRUE(panes().contains("12,5 %"));
    a.Leave();
    EXPECT_FALSE(panes().contains("70, 35"));

    // The zoom pane holds every step's text without growing.
    QLabel* zoomPane = nullptr;
    for (QLabel* l : a.frame()->statusBar()->findChildren<QLabel*>())
        if (l->text() == "12,5 %")
            zoomPane = l;
    ASSERT_NE(zoomPane, nullptr);
    for (float z = ToolSettings::kMinZoom; z <= ToolSettings::kMaxZoom; z *= 2) {
        const QString text = zk::CMainFrame::ZoomText(z);
        EXPECT_LE(zoomPane->fontMetrics().horizontalAdvance(text), zoomPane->minimumWidth())
            << text.toStdString();
    }
}

// Powers of two have exact percentages; they are shown whole, with the decimal comma.
TEST(DesktopFrame, TheZoomShowsAsItsExactPercentage) {
    const struct {
        float zoom;
        const char* text;
    } cases[] = {{32, "3200 %"},         {16, "1600 %"},         {1, "100 %"},
                 {0.5f, "50 %"},         {0.125f, "12,5 %"},     {1.0f / 16, "6,25 %"},
                 {1.0f / 32, "3,125 %"}, {1.0f / 64, "1,5625 %"}};
    for (const auto& c : cases)
        EXPECT_EQ(zk::CMainFrame::ZoomText(c.zoom).toStdString(), c.text);
}

TEST(DesktopFrame, HelpWithNothingToShowItSaysSoAndWhereThePageIs) {
    App a;
    ASSERT_TRUE(a.ok);
    a.prompts->helpPage = QStringLiteral("/opt/zk/help/index.html");
    a.prompts->helpShown = true;
    a.frame()->OnCommand(zk::res::ID_HELP_INDEX);
    EXPECT_TRUE(a.prompts->errors.isEmpty());
    a.prompts->helpShown = false;
    a.frame()->OnCommand(zk::res::ID_HELP_INDEX);
    ASSERT_EQ(a.prompts->errors.size(), 1);
    EXPECT_TRUE(a.prompts->errors[0].contains("/opt/zk/help/index.html"));
    // No page at all: nothing to say, as ever.
    a.prompts->helpPage.clear();
    a.frame()->OnCommand(zk::res::ID_HELP_INDEX);
    EXPECT_EQ(a.prompts->errors.size(), 1);
}

TEST(CommandLine, HelpAndVersionPrintAndEndWithoutAWindowSystem) {
    const std::pair<const char*, const char*> cases[] = {
        {"--help", "Usage: zk [FILE]"},
        {"--version", "zk "},
    };
    for (const auto& [option, expected] : cases) {
        QProcess zk;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        zk.setProcessEnvironment(env);
        zk.start(QStringLiteral(ZK_BINARY), {QString::fromLatin1(option)});
        ASSERT_TRUE(zk.waitForFinished(20000)) << option;
        EXPECT_EQ(zk.exitStatus(), QProcess::NormalExit) << option;
        EXPECT_EQ(zk.exitCode(), 0) << option;
        EXPECT_TRUE(QString::fromLocal8Bit(zk.readAllStandardOutput()).startsWith(expected))
            << option;
    }
}

}  // namespace
