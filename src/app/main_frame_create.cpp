// The main window's menus, bars and keys, built from the tables in res/menus.h.
#include <QAction>
#include <QActionGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>
#include <initializer_list>
#include <vector>

#include "app/lock_keys.h"
#include "app/main_frame.h"
#include "res/icons.h"
#include "res/menus.h"
#include "res/strings.h"
#include "tools/tool_settings.h"
#include "ui/pattern_palette.h"
#include "view/zk_view.h"

namespace zk {

using namespace res;

namespace {

bool Contains(std::initializer_list<int> ids, int id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}
template <std::size_t N>
bool Contains(const int (&ids)[N], int id) {
    return std::find(std::begin(ids), std::end(ids), id) != std::end(ids);
}

// Items with a check mark: the bars' toggles, the grid and the tools. The sizes carry radio
// marks instead.
bool IsChecked(int id) {
    return Contains({ID_VIEW_TOOLBAR, ID_VIEW_SIZEBAR, ID_VIEW_TOOLSBAR, ID_VIEW_PATTERNBAR,
                     ID_VIEW_STATUS_BAR, ID_VIEW_GRID},
                    id) ||
           Contains(kToolPalette, id);
}

// Items with a radio mark: one of each group is always the current one.
bool IsRadio(int id) {
    return Contains(kSizeBar, id) ||
           std::any_of(std::begin(CMainFrame::kLanguageItems), std::end(CMainFrame::kLanguageItems),
                       [id](const auto& item) { return item.first == id; });
}

// A menu item's text: its own, then its shortcut label after a tab (the keys themselves are the
// accelerators).
QString ItemText(const MenuEntry& e) {
    QString text = Tr(e.text);
    if (!e.label.empty())
        text += QLatin1Char('\t') + res::Utf8(e.label);
    return text;
}

// What the status bar and the tool tip say of a command.
void SetCommandTips(QAction* action, int id) {
    const QString prompt = CommandPrompt(id);
    if (!prompt.isEmpty())
        action->setStatusTip(prompt);
    const QString tip = CommandTip(id);
    if (!tip.isEmpty())
        action->setToolTip(tip);
}

}  // namespace

QAction* CMainFrame::AddCommand(QMenu* menu, int id, const QString& text) {
    QAction* action = Action(id);
    if (!action) {
        action = new QAction(text, this);
        action->setData(id);
        SetCommandTips(action, id);
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        m_actions[id] = action;
    }
    if (menu)
        menu->addAction(action);
    return action;
}

void CMainFrame::CreateMenus() {
    auto* sizeGroup = new QActionGroup(this);
    auto* languageGroup = new QActionGroup(this);
    std::vector<QMenu*> open;  // the menus being filled, innermost last
    for (const MenuEntry& e : kMainMenu) {
        switch (e.kind) {
            case MenuEntryKind::Submenu:
                open.push_back(open.empty() ? menuBar()->addMenu(Tr(e.text))
                                            : open.back()->addMenu(Tr(e.text)));
                m_menuTexts.emplace_back(open.back(), e.text);
                break;
            case MenuEntryKind::End:
                if (!open.empty())
                    open.pop_back();
                break;
            case MenuEntryKind::Separator:
                if (!open.empty())
                    open.back()->addSeparator();
                break;
            case MenuEntryKind::Item: {
                if (open.empty())
                    break;
                QAction* a = AddCommand(open.back(), e.id, ItemText(e));
                a->setCheckable(IsChecked(e.id) || IsRadio(e.id));
                if (Contains(kSizeBar, e.id))
                    sizeGroup->addAction(a);
                else if (IsRadio(e.id))
                    languageGroup->addAction(a);
                if (e.id == ID_FILE_MRU_FILE1) {
                    m_fileMenu = open.back();
                    m_recentPlaceholder = a;
                    a->setEnabled(false);
                }
                break;
            }
        }
    }
    RebuildRecentFileMenu();

    for (QMenu* m : menuBar()->findChildren<QMenu*>())
        connect(m, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
}

void CMainFrame::RetranslateUi() {
    for (const auto& [menu, text] : m_menuTexts)
        menu->setTitle(Tr(text));
    for (const auto& [id, action] : m_actions) {
        if (const MenuEntry* e = FindMenuItem(id); e && !m_recentActions.contains(action))
            action->setText(ItemText(*e));
        SetCommandTips(action, id);
    }
    const std::pair<QToolBar*, std::string_view> bars[] = {{m_wndToolBar, kMainToolBarTitle},
                                                           {m_wndToolsBar, kToolPaletteTitle},
                                                           {m_wndSizeBar, kSizeBarTitle},
                                                           {m_wndPatternBar, kPatternBarTitle}};
    for (const auto& [bar, title] : bars)
        if (bar)
            bar->setWindowTitle(Tr(title));
    // The idle text, or whatever message is shown, gives way to the new idle text.
    statusBar()->showMessage(Tr(kIdleMessage));
    UpdateTitle();
    UpdateCommandUI();
}

QToolBar* CMainFrame::NewBar(std::string_view title, const QString& objectName) {
    auto* bar = new QToolBar(Tr(title), this);
    bar->setObjectName(objectName);
    bar->setIconSize(QSize(16, 15));
    bar->setMovable(true);
    bar->setFloatable(true);
    return bar;
}

void CMainFrame::CreateBars() {
    m_wndToolBar = NewBar(kMainToolBarTitle, QStringLiteral("MainToolBar"));
    for (int id : kMainToolBar) {
        if (id == 0)
            m_wndToolBar->addSeparator();
        else
            m_wndToolBar->addAction(AddCommand(nullptr, id, QString()));
    }
    m_wndToolsBar = NewBar(kToolPaletteTitle, QStringLiteral("ToolPalette"));
    for (int id : kToolPalette)
        m_wndToolsBar->addAction(AddCommand(nullptr, id, QString()));
    m_wndSizeBar = NewBar(kSizeBarTitle, QStringLiteral("SizeBar"));
    for (int id : kSizeBar)
        m_wndSizeBar->addAction(AddCommand(nullptr, id, QString()));

    // The pattern bar holds the pattern palette, 200 x 40, which covers the bar's own blank
    // button.
    m_wndPatternBar = NewBar(kPatternBarTitle, QStringLiteral("PatternBar"));
    m_wndPatternBar->setIconSize(QSize(32, 32));
    m_palette = new CPatternPalette(m_wndPatternBar);
    m_palette->m_pHost = m_wndPatternBar;
    m_wndPatternBar->addWidget(m_palette);

    addToolBar(Qt::TopToolBarArea, m_wndToolBar);
    addToolBar(Qt::LeftToolBarArea, m_wndToolsBar);
    addToolBar(Qt::BottomToolBarArea, m_wndPatternBar);
    addToolBar(Qt::LeftToolBarArea, m_wndSizeBar);
    ApplyIcons();

    // The status bar: the message pane, then the lock-key indicators.
    QStatusBar* status = statusBar();
    status->setObjectName(QStringLiteral("StatusBar"));
    for (std::string_view text : kLockIndicators) {
        auto* label = new QLabel(res::Utf8(text), status);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 8);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        status->addPermanentWidget(label);
        m_lockIndicators.append(label);
    }
    status->showMessage(Tr(kIdleMessage));
    connect(status, &QStatusBar::messageChanged, this, [status](const QString& message) {
        // An empty message pane shows the idle text, as it always has.
        if (message.isEmpty())
            status->showMessage(Tr(kIdleMessage));
    });
    UpdateLockIndicators();
}

void CMainFrame::ApplyIcons() {
    for (int id : kMainToolBar)
        if (id != 0)
            Action(id)->setIcon(CommandIcon(id));
    for (int id : kToolPalette)
        Action(id)->setIcon(CommandIcon(id));
    ApplySizeIcons();
}

void CMainFrame::ApplySizeIcons() {
    const int set = SizeImageSet(ToolSettings::tool);
    for (int i = 0; i < 4; ++i)
        Action(kSizeBar[i])->setIcon(SizeIcon(set, i));
}

void CMainFrame::UpdateLockIndicators() {
    const LockKeys keys = ReadLockKeys();
    const bool on[] = {keys.caps, keys.num, keys.scroll};
    for (int i = 0; i < m_lockIndicators.size(); ++i)
        m_lockIndicators[i]->setEnabled(on[i]);
}

void CMainFrame::CreateAccelerators() {
    for (const Accelerator& a : kAccelerators) {
        // The numeric keypad's keys are matched in eventFilter: a shortcut made with the keypad
        // modifier is not matched on every platform.
        if (a.combination.keyboardModifiers() & Qt::KeypadModifier)
            continue;
        auto* s = new QShortcut(QKeySequence(a.combination), this);
        s->setContext(Qt::WindowShortcut);
        const int id = a.id;
        connect(s, &QShortcut::activated, this, [this, id] { OnCommand(id); });
    }
    // F6 and Shift+F6 move between panes, and this window has only one.
}

void CMainFrame::CreateDesktopKeys() {
    // Extra keys only: the menus keep their labels.
    auto bind = [this](const QKeySequence& keys, int id) {
        auto* s = new QShortcut(keys, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, [this, id] { OnCommand(id); });
    };
    bind(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), ID_FILE_SAVE_AS);
    bind(QKeySequence(Qt::CTRL | Qt::Key_Q), ID_APP_EXIT);
    // The main keyboard's + and -, alone or with Ctrl; = is + without Shift on many layouts.
    for (const int key : {Qt::Key_Plus, Qt::Key_Equal}) {
        bind(QKeySequence(key), ID_VIEW_ZOOMIN);
        bind(QKeySequence(Qt::CTRL | key), ID_VIEW_ZOOMIN);
    }
    bind(QKeySequence(Qt::Key_Minus), ID_VIEW_ZOOMOUT);
    bind(QKeySequence(Qt::CTRL | Qt::Key_Minus), ID_VIEW_ZOOMOUT);
    // Escape gives up what the current tool has not finished, as it does in every painter.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        m_view->CancelToolWork();
        UpdateCommandUI();
        UpdateTitle();
    });
}

void CMainFrame::CreateStatusPanes() {
    // Where the pointer is on the map, its grid cell, the zoom and the map's size, before the
    // lock-key indicators. Each pane is as wide as its widest text, so none of them jumps.
    QStatusBar* status = statusBar();
    QStringList zooms;
    for (float z = ToolSettings::kMinZoom; z <= ToolSettings::kMaxZoom; z *= 2)
        zooms << ZoomText(z);
    const QStringList widest[] = {{QStringLiteral("00000, 00000")},
                                  {CellText(9999, 9999)},
                                  zooms,
                                  {res::Utf8("00000 × 00000")}};
    QLabel** panes[] = {&m_positionPane, &m_cellPane, &m_zoomPane, &m_sizePane};
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(status);
        label->setAlignment(Qt::AlignCenter);
        int width = 0;
        for (const QString& text : widest[i])
            width = std::max(width, label->fontMetrics().horizontalAdvance(text));
        label->setMinimumWidth(width + 8);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        status->insertPermanentWidget(i, label);
        *panes[i] = label;
    }
    UpdateStatusPanes();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            if (event->type() == QEvent::KeyPress && (key->modifiers() & Qt::KeypadModifier)) {
                for (const Accelerator& a : kAccelerators)
                    if ((a.combination.keyboardModifiers() & Qt::KeypadModifier) &&
                        a.combination.key() == key->key()) {
                        OnCommand(a.id);
                        return true;
                    }
            }
            if (key->key() == Qt::Key_CapsLock || key->key() == Qt::Key_NumLock ||
                key->key() == Qt::Key_ScrollLock)
                UpdateLockIndicators();
        }
    } else if (event->type() == QEvent::WindowActivate && watched == this) {
        UpdateLockIndicators();
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace zk
