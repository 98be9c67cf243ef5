#include "app/main_frame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <functional>

#include "app/zk_app.h"
#include "res/menus.h"
#include "res/resource.h"
#include "res/strings.h"
#include "support/frame_harness.h"
#include "tools/tool_settings.h"
#include "ui/pattern_palette.h"
#include "view/zk_view.h"

namespace {

using namespace zk::res;
using zk::ToolSettings;

using Frame = zk_test::FrameHarness;

QString U(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A menu's entries one a line: "[title" opens a submenu, "]" closes it, "-" is a separator.
void Describe(const QList<QAction*>& actions, QStringList& out) {
    for (QAction* a : actions) {
        if (a->isSeparator()) {
            out << QStringLiteral("-");
        } else if (QMenu* m = a->menu()) {
            out << QLatin1Char('[') + m->title();
            Describe(m->actions(), out);
            out << QStringLiteral("]");
        } else if (a->isVisible()) {
            out << a->text();
        }
    }
}

QStringList TableMenus() {
    QStringList out;
    for (const MenuEntry& e : kMainMenu) {
        switch (e.kind) {
            case MenuEntryKind::Submenu:
                out << QLatin1Char('[') + U(e.text);
                break;
            case MenuEntryKind::End:
                out << QStringLiteral("]");
                break;
            case MenuEntryKind::Separator:
                out << QStringLiteral("-");
                break;
            case MenuEntryKind::Item:
                out << U(e.text) + (e.label.empty() ? QString() : QLatin1Char('\t') + U(e.label));
                break;
        }
    }
    return out;
}

template <std::size_t N>
QList<int> Buttons(const int (&ids)[N]) {
    return QList<int>(std::begin(ids), std::end(ids));
}
QList<int> Buttons(QToolBar* bar) {
    QList<int> ids;
    for (QAction* a : bar->actions())
        ids << (a->isSeparator() ? 0 : a->data().toInt());
    return ids;
}

TEST(MainFrameMenus, MenusBarsAndStatusBarAreBuiltFromTheTables) {
    Frame f;
    ASSERT_TRUE(f.ok);
    QStringList built;
    Describe(f.frame()->menuBar()->actions(), built);
    EXPECT_EQ(built.join(QLatin1Char('\n')).toStdString(),
              TableMenus().join(QLatin1Char('\n')).toStdString());
    EXPECT_EQ(Buttons(f.frame()->m_wndToolBar), Buttons(kMainToolBar));
    EXPECT_EQ(Buttons(f.frame()->m_wndToolsBar), Buttons(kToolPalette));
    EXPECT_EQ(Buttons(f.frame()->m_wndSizeBar), Buttons(kSizeBar));
    EXPECT_EQ(f.frame()->m_wndPatternBar->windowTitle(), U(kPatternBarTitle));

    EXPECT_EQ(f.action(ID_VIEW_TOOLSBAR)->statusTip(), CommandPrompt(ID_VIEW_TOOLSBAR));
    EXPECT_EQ(f.action(ID_VIEW_TOOLSBAR)->toolTip(), CommandTip(ID_VIEW_TOOLSBAR));
    EXPECT_EQ(f.frame()->statusBar()->currentMessage(), U(kIdleMessage));
    QStringList indicators;
    for (QLabel* l : f.frame()->statusBar()->findChildren<QLabel*>())
        if (!l->text().isEmpty())
            indicators << l->text();
    for (std::string_view text : kLockIndicators)
        EXPECT_TRUE(indicators.contains(U(text))) << text;
}

TEST(MainFrameMenus, ToolKeysFollowThePaletteNotTheLabels) {
    Frame f;
    ASSERT_TRUE(f.ok);
    f.frame()->show();
    QApplication::setActiveWindow(f.frame());
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.frame()));
    QWidget* target = f.view()->viewport();
    const std::pair<Qt::Key, int> keys[] = {
        {Qt::Key_1, zk::kTilesTool},     {Qt::Key_2, zk::kGridTilesTool},
        {Qt::Key_3, zk::kFreehandTool},  {Qt::Key_4, zk::kLinesTool},
        {Qt::Key_5, zk::kRectangleTool}, {Qt::Key_6, zk::kEllipseTool},
        {Qt::Key_7, zk::kPolygonTool},   {Qt::Key_8, zk::kTextTool},
        {Qt::Key_9, zk::kSymbolTool},    {Qt::Key_0, zk::kSelectTool},
    };
    for (const auto& [key, kind] : keys) {
        QTest::keyClick(target, key, Qt::ControlModifier);
        EXPECT_EQ(ToolSettings::tool, kind)
            << "Ctrl+" << QKeySequence(key).toString().toStdString();
        EXPECT_EQ(f.view()->CurrentTool(), f.view()->ToolOfKind(kind));
    }
    // Marks: exactly the current tool's item is checked.
    int checked = 0;
    for (int id :
         {ID_TOOL_TILES, ID_TOOL_GRIDTILES, ID_TOOL_FREEHAND, ID_TOOL_LINES, ID_TOOL_RECTANGLE,
          ID_TOOL_ELLIPSE, ID_TOOL_POLYGON, ID_TOOL_TEXT, ID_TOOL_SYMBOLS, ID_TOOL_SELECT})
        checked += f.action(id)->isChecked();
    EXPECT_EQ(checked, 1);
    EXPECT_TRUE(f.action(ID_TOOL_SELECT)->isChecked());

    ToolSettings::grid = 16;
    QTest::keyClick(target, Qt::Key_PageUp);
    EXPECT_EQ(ToolSettings::grid, 32);
    QTest::keyClick(target, Qt::Key_PageDown);
    QTest::keyClick(target, Qt::Key_PageDown);
    EXPECT_EQ(ToolSettings::grid, 8);
    QTest::keyClick(target, Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(f.view()->m_gridOn, 0);
    EXPECT_FALSE(f.action(ID_VIEW_GRID)->isChecked());
}

TEST(MainFrameMenus, SizeCommandsSetTheFieldOfTheCurrentTool) {
    Frame f;
    ASSERT_TRUE(f.ok);
    f.frame()->OnCommand(ID_TOOL_FREEHAND);
    f.frame()->OnCommand(ID_SIZE_SMALL);
    EXPECT_EQ(ToolSettings::line, 1);
    EXPECT_TRUE(f.action(ID_SIZE_SMALL)->isChecked());
    EXPECT_FALSE(f.action(ID_SIZE_NONE)->isChecked());
    EXPECT_EQ(zk::CMainFrame::SizeImageSet(ToolSettings::tool), IDR_SIZE_LINES);

    // The tiles tool shows tile sizes, marked by its own field, which "malá" did not change.
    f.frame()->OnCommand(ID_TOOL_TILES);
    EXPECT_EQ(ToolSettings::tilesize, 0);
    EXPECT_TRUE(f.action(ID_SIZE_NONE)->isChecked());
    EXPECT_EQ(zk::CMainFrame::SizeImageSet(ToolSettings::tool), IDR_SIZE_TILES);
    f.frame()->OnCommand(ID_SIZE_LARGE);
    EXPECT_EQ(ToolSettings::tilesize, 3);
    EXPECT_EQ(ToolSettings::line, 1);

    f.frame()->OnCommand(ID_TOOL_SYMBOLS);
    EXPECT_EQ(zk::CMainFrame::SizeImageSet(ToolSettings::tool), IDR_SIZE_ROTATION);
    for (int i = 0; i < 4; ++i) {
        f.frame()->OnCommand(ID_SIZE_NONE + i);
        EXPECT_EQ(ToolSettings::symbolrotation, i);
    }
    EXPECT_EQ(ToolSettings::tilesize, 3);
    EXPECT_EQ(ToolSettings::line, 1);
    ToolSettings::ResetToDefaults();
}

TEST(MainFrameMenus, BarTogglesShowAndHideTheirOwnBar) {
    Frame f;
    ASSERT_TRUE(f.ok);
    f.frame()->show();
    f.frame()->OnCommand(ID_VIEW_SIZEBAR);
    EXPECT_FALSE(f.frame()->m_wndSizeBar->isVisible());
    EXPECT_FALSE(f.action(ID_VIEW_SIZEBAR)->isChecked());
    f.frame()->OnCommand(ID_VIEW_SIZEBAR);
    EXPECT_TRUE(f.frame()->m_wndSizeBar->isVisible());
    EXPECT_TRUE(f.action(ID_VIEW_SIZEBAR)->isChecked());
    // The main tool bar's toggle leaves the tool palette alone.
    f.frame()->OnCommand(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(f.frame()->m_wndToolBar->isVisible());
    EXPECT_TRUE(f.frame()->m_wndToolsBar->isVisible());
    f.frame()->OnCommand(ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(f.frame()->statusBar()->isVisible());
    EXPECT_FALSE(f.action(ID_VIEW_STATUS_BAR)->isChecked());
    EXPECT_TRUE(f.action(ID_VIEW_PATTERNBAR)->isChecked());
}

TEST(MainFrameMenus, ClipboardCommandsFollowTheSelectionAndTheClipboard) {
    Frame f;
    ASSERT_TRUE(f.ok);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    f.frame()->show();
    QApplication::setActiveWindow(f.frame());
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.frame()));
    QWidget* target = f.view()->viewport();
    EXPECT_FALSE(f.action(ID_EDIT_CUT)->isEnabled());
    EXPECT_FALSE(f.action(ID_EDIT_COPY)->isEnabled());
    EXPECT_FALSE(f.action(ID_EDIT_PASTE)->isEnabled());

    // Paste follows the clipboard as another program fills it, with no command in between.
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::black);
    clipboard->setImage(picture);
    EXPECT_TRUE(f.action(ID_EDIT_PASTE)->isEnabled());
    f.frame()->OnCommand(ID_TOOL_FREEHAND);
    QTest::keyClick(target, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(ToolSettings::tool, zk::kSelectTool);
    EXPECT_TRUE(f.action(ID_TOOL_SELECT)->isChecked());
    EXPECT_TRUE(f.action(ID_EDIT_CUT)->isEnabled());
    EXPECT_TRUE(f.action(ID_EDIT_COPY)->isEnabled());

    QTest::keyClick(target, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_FALSE(f.action(ID_EDIT_CUT)->isEnabled());
    EXPECT_FALSE(f.action(ID_EDIT_COPY)->isEnabled());
    EXPECT_EQ(clipboard->image().size(), QSize(3, 2));

    // Too large for a map: refused with the reason, and nothing floats.
    clipboard->setImage(QImage(70000, 1, QImage::Format_Mono));
    f.frame()->OnCommand(ID_EDIT_PASTE);
    ASSERT_EQ(f.prompts->errors.size(), 1);
    EXPECT_TRUE(f.prompts->errors[0].contains(QString::fromUtf8("70000 × 1")))
        << f.prompts->errors[0].toStdString();
    EXPECT_FALSE(f.action(ID_EDIT_COPY)->isEnabled());

    // A band is lifted in the paint pass, with no command after it: Cut and Copy follow once the
    // events are handled.
    f.Drag(40, 40, 80, 70);
    QTest::qWait(50);
    EXPECT_TRUE(f.action(ID_EDIT_COPY)->isEnabled());
    // Zoom items stay enabled at the limits, where they do nothing.
    for (int i = 0; i < 7; ++i)
        f.frame()->OnCommand(ID_VIEW_ZOOMIN);
    EXPECT_TRUE(f.action(ID_VIEW_ZOOMIN)->isEnabled());
    EXPECT_EQ(ToolSettings::zoom, ToolSettings::kMaxZoom);
}

// A right click on a palette swatch chooses the secondary fill and opens no menu; the bar
// menu stays on the bar's own empty area.
TEST(MainFrameMenus, ARightClickOnThePaletteOpensNoBarMenu) {
    Frame f;
    ASSERT_TRUE(f.ok);
    f.frame()->show();
    const auto popupFor = [](QWidget* target, QPoint at) {
        bool popup = false;
        std::function<void(int)> poll = [&](int left) {
            if (QWidget* menu = QApplication::activePopupWidget()) {
                popup = true;
                menu->close();
            } else if (left > 0) {
                QTimer::singleShot(10, [&, left] { poll(left - 1); });
            }
        };
        QTimer::singleShot(10, [&] { poll(20); });
        QContextMenuEvent e(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
        QApplication::sendEvent(target, &e);
        // Whatever the event did, give the poll its time before it goes out of scope.
        QTest::qWait(300);
        return popup;
    };
    QWidget* palette = f.frame()->m_palette;
    EXPECT_FALSE(popupFor(palette, QPoint(45, 5))) << "the palette opened the bar menu";
    QToolBar* bar = f.frame()->m_wndPatternBar;
    const QPoint empty(bar->width() - 3, bar->height() / 2);
    ASSERT_FALSE(palette->geometry().contains(empty));
    EXPECT_TRUE(popupFor(bar, empty)) << "the bar's own area lost its menu";
}

}  // namespace
