#include "app/main_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <algorithm>

#include "app/about_dlg.h"
#include "app/help_page.h"
#include "app/lock_keys.h"
#include "res/icons.h"
#include "res/resource.h"
#include "res/strings.h"
#include "ui/pattern_palette.h"
#include "view/tool_settings.h"
#include "view/zk_view.h"

namespace zk {

using namespace res;

namespace {

// The tools as the tool menu lists them: menu text, the shortcut label shown after a tab, and
// the kind the command chooses. The keys follow the tool palette's order instead (below), so
// from Ctrl+4 on a label and its key name different tools, as they always have.
struct ToolCommand {
    int id;
    int kind;
    const char* text;
    const char* label;
};
constexpr ToolCommand kToolCommands[] = {
    {ID_TOOL_TILES, kTilesTool, "dlaždice", "Ctrl+1"},
    {ID_TOOL_GRIDTILES, kGridTilesTool, "dlaždice v síti", "Ctrl+2"},
    {ID_TOOL_FREEHAND, kFreehandTool, "kreslení", "Ctrl+3"},
    {ID_TOOL_RECTANGLE, kRectangleTool, "obdélník", "Ctrl+4"},
    {ID_TOOL_ELLIPSE, kEllipseTool, "elipsa", "Ctrl+5"},
    {ID_TOOL_POLYGON, kPolygonTool, "mnohoúhelník", "Ctrl+6"},
    {ID_TOOL_TEXT, kTextTool, "text", "Ctrl+7"},
    {ID_TOOL_SYMBOLS, kSymbolTool, "symboly", "Ctrl+8"},
    {ID_TOOL_SELECT, kSelectTool, "vybrat", "Ctrl+9"},
    {ID_TOOL_LINES, kLinesTool, "čáry", "Ctrl+0"},
};

// The tool palette's buttons; Ctrl+1 .. Ctrl+9, Ctrl+0 follow this order.
constexpr int kToolPaletteOrder[] = {
    ID_TOOL_TILES,   ID_TOOL_GRIDTILES, ID_TOOL_FREEHAND, ID_TOOL_LINES,   ID_TOOL_RECTANGLE,
    ID_TOOL_ELLIPSE, ID_TOOL_POLYGON,   ID_TOOL_TEXT,     ID_TOOL_SYMBOLS, ID_TOOL_SELECT};

// The main tool bar's buttons; 0 is a separator.
constexpr int kMainToolBar[] = {ID_FILE_NEW,
                                ID_FILE_OPEN,
                                ID_FILE_SAVE,
                                0,
                                ID_EDIT_CUT,
                                ID_EDIT_COPY,
                                ID_EDIT_PASTE,
                                0,
                                ID_FILE_PRINT,
                                0,
                                ID_EDIT_UNDO,
                                0,
                                ID_VIEW_ZOOMIN,
                                ID_VIEW_ZOOMOUT,
                                0,
                                ID_VIEW_GRID,
                                ID_GRID_SMALLER,
                                ID_GRID_LARGER,
                                0,
                                ID_APP_ABOUT};

constexpr int kSizeCommands[] = {ID_SIZE_NONE, ID_SIZE_SMALL, ID_SIZE_MEDIUM, ID_SIZE_LARGE};

const ToolCommand* FindToolCommand(int id) {
    for (const ToolCommand& t : kToolCommands)
        if (t.id == id)
            return &t;
    return nullptr;
}

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}
QString U(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

std::unique_ptr<QSettings> CMainFrame::OpenSettingsStore() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("ZK"), QStringLiteral("ZK"));
}

int CMainFrame::SizeImageSet(int tool) {
    if (tool == kTilesTool || tool == kGridTilesTool)
        return IDR_SIZE_TILES;
    if (tool == kSymbolTool)
        return IDR_SIZE_ROTATION;
    return IDR_SIZE_LINES;
}

int& CMainFrame::SizeField(int tool) {
    if (tool == kTilesTool || tool == kGridTilesTool)
        return ToolSettings::tilesize;
    if (tool == kSymbolTool)
        return ToolSettings::symbolrotation;
    return ToolSettings::line;
}

CMainFrame::CMainFrame(CZKDoc* doc, RecentFileList* recentFiles, QWidget* parent)
    : QMainWindow(parent),
      m_doc(doc),
      m_recentFiles(recentFiles),
      m_view(new CZKView(doc, this)),
      m_prompts(std::make_unique<FramePrompts>()) {
    setCentralWidget(m_view);
    setWindowIcon(AppIcon());
    m_view->m_onToolChanged = [this] { OnToolChanged(); };
    m_view->m_onModified = [this] { UpdateTitle(); };
    m_view->m_onStatusChanged = [this] { UpdateStatusPanes(); };
    CreateMenus();
    CreateBars();
    CreateStatusPanes();
    CreateAccelerators();
    CreateDesktopKeys();
    setAcceptDrops(true);
    qApp->installEventFilter(this);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &CMainFrame::UpdateCommandUI);
    resize(1000, 760);
    UpdateTitle();
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    OnDestroy();
}

QAction* CMainFrame::AddCommand(QMenu* menu, int id, const QString& text) {
    QAction* action = Action(id);
    if (!action) {
        action = new QAction(text, this);
        action->setData(id);
        const std::string_view prompt = CommandPrompt(id);
        if (!prompt.empty())
            action->setStatusTip(U(prompt));
        const std::string_view tip = CommandTip(id);
        if (!tip.empty())
            action->setToolTip(U(tip));
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        m_actions[id] = action;
    }
    if (menu)
        menu->addAction(action);
    return action;
}

QAction* CMainFrame::Action(int id) const {
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::CreateMenus() {
    // Shortcut labels are part of the item texts, after a tab; the keys themselves are the
    // accelerators below.
    m_fileMenu = menuBar()->addMenu(U("&Soubor"));
    AddCommand(m_fileMenu, ID_FILE_NEW, U("&Nový\tCtrl+N"));
    AddCommand(m_fileMenu, ID_FILE_OPEN, U("&Otevřít...\tCtrl+O"));
    AddCommand(m_fileMenu, ID_FILE_SAVE, U("&Uložit\tCtrl+S"));
    AddCommand(m_fileMenu, ID_FILE_SAVE_AS, U("Uložit &jako..."));
    m_fileMenu->addSeparator();
    AddCommand(m_fileMenu, ID_FILE_PRINT, U("&Tisk...\tCtrl+P"));
    AddCommand(m_fileMenu, ID_FILE_PRINT_PREVIEW, U("Ná&hled"));
    AddCommand(m_fileMenu, ID_FILE_PRINT_SETUP, U("Na&stavení tisku..."));
    m_fileMenu->addSeparator();
    m_recentPlaceholder = AddCommand(m_fileMenu, ID_FILE_MRU_FILE1, U("Recent File"));
    m_recentPlaceholder->setEnabled(false);
    m_fileMenu->addSeparator();
    AddCommand(m_fileMenu, ID_APP_EXIT, U("Konec"));
    RebuildRecentFileMenu();

    QMenu* edit = menuBar()->addMenu(U("&Úpravy"));
    AddCommand(edit, ID_EDIT_UNDO, U("&Zpět\tCtrl+Z"));
    edit->addSeparator();
    AddCommand(edit, ID_EDIT_CUT, U("&Vyjmout\tCtrl+X"));
    AddCommand(edit, ID_EDIT_COPY, U("&Kopírovat\tCtrl+C"));
    AddCommand(edit, ID_EDIT_PASTE, U("V&ložit\tCtrl+V"));

    QMenu* view = menuBar()->addMenu(U("&Zobrazit"));
    QMenu* bars = view->addMenu(U("Panely"));
    AddCommand(bars, ID_VIEW_TOOLBAR, U("&Panel nástrojů"))->setCheckable(true);
    AddCommand(bars, ID_VIEW_SIZEBAR, U("Panel velikostí"))->setCheckable(true);
    AddCommand(bars, ID_VIEW_TOOLSBAR, U("Paleta nástrojů"))->setCheckable(true);
    AddCommand(bars, ID_VIEW_PATTERNBAR, U("Paleta výplní/symbolů"))->setCheckable(true);
    AddCommand(bars, ID_VIEW_STATUS_BAR, U("&Stavový řádek"))->setCheckable(true);
    view->addSeparator();
    AddCommand(view, ID_VIEW_ZOOMIN, U("Přiblížit\t+"));
    AddCommand(view, ID_VIEW_ZOOMOUT, U("Oddálit\t-"));
    view->addSeparator();
    AddCommand(view, ID_VIEW_GRID, U("&Mřížka\tCtrl+G"))->setCheckable(true);

    QMenu* tools = menuBar()->addMenu(U("&Nástroje"));
    QMenu* toolList = tools->addMenu(U("&Nástroje"));
    for (const ToolCommand& t : kToolCommands)
        AddCommand(toolList, t.id, U(t.text) + QLatin1Char('\t') + QLatin1String(t.label))
            ->setCheckable(true);
    QMenu* sizes = tools->addMenu(U("Velikost"));
    const char* sizeTexts[] = {"žádná", "malá", "střední", "velká"};
    // The sizes carry radio marks: one of them is always the current one.
    auto* sizeGroup = new QActionGroup(this);
    for (int i = 0; i < 4; ++i) {
        QAction* a = AddCommand(sizes, kSizeCommands[i], U(sizeTexts[i]));
        a->setCheckable(true);
        sizeGroup->addAction(a);
    }

    QMenu* settings = menuBar()->addMenu(U("&Nastavení"));
    AddCommand(settings, ID_SETTINGS, U("&Nastavení..."));
    AddCommand(settings, ID_GRID_LARGER, U("Zvětšit mřížku\tPageUp"));
    AddCommand(settings, ID_GRID_SMALLER, U("Zmenšit mřížku\tPageDown"));

    QMenu* help = menuBar()->addMenu(U("&Nápověda"));
    AddCommand(help, ID_APP_ABOUT, U("&O programu ZK..."));
    AddCommand(help, ID_HELP_INDEX, U("&Nápověda\tF1"));

    for (QMenu* m : menuBar()->findChildren<QMenu*>())
        connect(m, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
}

QToolBar* CMainFrame::NewBar(const QString& title, const QString& objectName) {
    auto* bar = new QToolBar(title, this);
    bar->setObjectName(objectName);
    bar->setIconSize(QSize(16, 15));
    bar->setMovable(true);
    bar->setFloatable(true);
    return bar;
}

void CMainFrame::CreateBars() {
    m_wndToolBar = NewBar(U("Panel nástrojů"), QStringLiteral("MainToolBar"));
    for (int id : kMainToolBar) {
        if (id == 0)
            m_wndToolBar->addSeparator();
        else
            m_wndToolBar->addAction(Action(id));
    }
    m_wndToolsBar = NewBar(U("Paleta nástrojů"), QStringLiteral("ToolPalette"));
    for (int id : kToolPaletteOrder)
        m_wndToolsBar->addAction(Action(id));
    m_wndSizeBar = NewBar(U("Panel velikostí"), QStringLiteral("SizeBar"));
    for (int id : kSizeCommands)
        m_wndSizeBar->addAction(Action(id));

    // The pattern bar holds the pattern palette, 200 x 40, which covers the bar's own blank
    // button.
    m_wndPatternBar = NewBar(U("Výplně"), QStringLiteral("PatternBar"));
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
    for (const char* text : {"CAP", "NUM", "SCRL"}) {
        auto* label = new QLabel(QString::fromLatin1(text), status);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 8);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        status->addPermanentWidget(label);
        m_lockIndicators.append(label);
    }
    status->showMessage(U("Připraven"));
    connect(status, &QStatusBar::messageChanged, this, [status](const QString& message) {
        // An empty message pane shows the idle text, as it always has.
        if (message.isEmpty())
            status->showMessage(QString::fromUtf8("Připraven"));
    });
    UpdateLockIndicators();
}

void CMainFrame::ApplyIcons() {
    for (int id : kMainToolBar)
        if (id != 0)
            Action(id)->setIcon(CommandIcon(id));
    for (int id : kToolPaletteOrder)
        Action(id)->setIcon(CommandIcon(id));
    ApplySizeIcons();
}

void CMainFrame::ApplySizeIcons() {
    const int set = SizeImageSet(ToolSettings::tool);
    for (int i = 0; i < 4; ++i)
        Action(kSizeCommands[i])->setIcon(SizeIcon(set, i));
}

void CMainFrame::UpdateLockIndicators() {
    const LockKeys keys = ReadLockKeys();
    const bool on[] = {keys.caps, keys.num, keys.scroll};
    for (int i = 0; i < m_lockIndicators.size(); ++i)
        m_lockIndicators[i]->setEnabled(on[i]);
}

void CMainFrame::CreateAccelerators() {
    auto bind = [this](const QKeySequence& keys, int id) {
        auto* s = new QShortcut(keys, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, [this, id] { OnCommand(id); });
    };
    bind(QKeySequence(Qt::CTRL | Qt::Key_N), ID_FILE_NEW);
    bind(QKeySequence(Qt::CTRL | Qt::Key_O), ID_FILE_OPEN);
    bind(QKeySequence(Qt::CTRL | Qt::Key_S), ID_FILE_SAVE);
    bind(QKeySequence(Qt::CTRL | Qt::Key_P), ID_FILE_PRINT);
    bind(QKeySequence(Qt::CTRL | Qt::Key_Z), ID_EDIT_UNDO);
    bind(QKeySequence(Qt::ALT | Qt::Key_Backspace), ID_EDIT_UNDO);
    bind(QKeySequence(Qt::CTRL | Qt::Key_X), ID_EDIT_CUT);
    bind(QKeySequence(Qt::SHIFT | Qt::Key_Delete), ID_EDIT_CUT);
    bind(QKeySequence(Qt::CTRL | Qt::Key_C), ID_EDIT_COPY);
    bind(QKeySequence(Qt::CTRL | Qt::Key_Insert), ID_EDIT_COPY);
    bind(QKeySequence(Qt::CTRL | Qt::Key_V), ID_EDIT_PASTE);
    bind(QKeySequence(Qt::SHIFT | Qt::Key_Insert), ID_EDIT_PASTE);
    bind(QKeySequence(Qt::CTRL | Qt::Key_G), ID_VIEW_GRID);
    bind(QKeySequence(Qt::Key_PageUp), ID_GRID_LARGER);
    bind(QKeySequence(Qt::Key_PageDown), ID_GRID_SMALLER);
    bind(QKeySequence(Qt::Key_F1), ID_HELP_INDEX);
    const int digits[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5,
                          Qt::Key_6, Qt::Key_7, Qt::Key_8, Qt::Key_9, Qt::Key_0};
    for (int i = 0; i < 10; ++i)
        bind(QKeySequence(Qt::CTRL | digits[i]), kToolPaletteOrder[i]);
    // The zoom keys are the numeric keypad's + and -, which are matched in eventFilter: a
    // shortcut made with the keypad modifier is not matched on every platform. F6 and Shift+F6
    // move between panes, and this window has only one.
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
}

void CMainFrame::CreateStatusPanes() {
    // Where the pointer is on the map, its grid cell, the zoom and the map's size, before the
    // lock-key indicators. Each pane is as wide as its widest text, so none of them jumps.
    QStatusBar* status = statusBar();
    const QString widest[] = {QStringLiteral("00000, 00000"), U("buňka 0000, 0000"),
                              QStringLiteral("1250 %"), U("00000 × 00000")};
    QLabel** panes[] = {&m_positionPane, &m_cellPane, &m_zoomPane, &m_sizePane};
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(status);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(widest[i]) + 8);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        status->insertPermanentWidget(i, label);
        *panes[i] = label;
    }
    UpdateStatusPanes();
}

void CMainFrame::UpdateStatusPanes() {
    if (!m_positionPane)
        return;
    gdi::Point p;
    if (m_view->PointerOnMap(&p)) {
        const int g = std::max(1, ToolSettings::grid);
        m_positionPane->setText(QStringLiteral("%1, %2").arg(p.x).arg(p.y));
        m_cellPane->setText(U("buňka %1, %2").arg(p.x / g).arg(p.y / g));
    } else {
        m_positionPane->clear();
        m_cellPane->clear();
    }
    m_zoomPane->setText(
        QStringLiteral("%1 %").arg(static_cast<double>(ToolSettings::zoom) * 100.0, 0, 'g', 4));
    m_sizePane->setText(U("%1 × %2").arg(m_doc->m_width).arg(m_doc->m_height));
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            if (event->type() == QEvent::KeyPress && (key->modifiers() & Qt::KeypadModifier)) {
                if (key->key() == Qt::Key_Plus) {
                    OnCommand(ID_VIEW_ZOOMIN);
                    return true;
                }
                if (key->key() == Qt::Key_Minus) {
                    OnCommand(ID_VIEW_ZOOMOUT);
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

void CMainFrame::OnCommand(int id) {
    m_view->CommitToolWork();
    if (const ToolCommand* t = FindToolCommand(id)) {
        m_view->SelectTool(t->kind);
    } else {
        switch (id) {
            case ID_FILE_NEW:
                OnFileNew();
                break;
            case ID_FILE_OPEN:
                OnFileOpen();
                break;
            case ID_FILE_SAVE:
                OnFileSave();
                break;
            case ID_FILE_SAVE_AS:
                OnFileSaveAs();
                break;
            case ID_FILE_PRINT:
                m_view->OnFilePrint();
                break;
            case ID_FILE_PRINT_PREVIEW:
                OnFilePrintPreview();
                break;
            case ID_FILE_PRINT_SETUP:
                OnFilePrintSetup();
                break;
            case ID_APP_EXIT:
                close();
                break;
            case ID_APP_ABOUT:
                OnAppAbout();
                break;
            case ID_EDIT_UNDO:
                m_doc->OnEditUndo();
                break;
            case ID_VIEW_ZOOMIN:
                m_view->OnZoomIn();
                break;
            case ID_VIEW_ZOOMOUT:
                m_view->OnZoomOut();
                break;
            case ID_VIEW_GRID:
                m_view->OnGrid();
                break;
            case ID_GRID_LARGER:
                m_view->OnGridLarger();
                break;
            case ID_GRID_SMALLER:
                m_view->OnGridSmaller();
                break;
            case ID_SETTINGS:
                OnSettings();
                break;
            case ID_HELP_INDEX:
                OnHelpIndex();
                break;
            case ID_VIEW_TOOLBAR:
                ToggleBar(m_wndToolBar);
                break;
            case ID_VIEW_TOOLSBAR:
                ToggleBar(m_wndToolsBar);
                break;
            case ID_VIEW_PATTERNBAR:
                ToggleBar(m_wndPatternBar);
                break;
            case ID_VIEW_SIZEBAR:
                ToggleBar(m_wndSizeBar);
                break;
            case ID_VIEW_STATUS_BAR:
                ToggleBar(statusBar());
                break;
            case ID_SIZE_NONE:
                OnSize(0);
                break;
            case ID_SIZE_SMALL:
                OnSize(1);
                break;
            case ID_SIZE_MEDIUM:
                OnSize(2);
                break;
            case ID_SIZE_LARGE:
                OnSize(3);
                break;
            case ID_EDIT_CUT:
            case ID_EDIT_COPY:
            case ID_EDIT_PASTE:
                // The clipboard commands work on the select tool's floating selection.
                break;
            default:
                if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + RecentFileList::kSize)
                    OnRecentFile(id - ID_FILE_MRU_FILE1);
                break;
        }
    }
    UpdateCommandUI();
    UpdateTitle();
    // The prompt of the menu item or button that gave the command has done its work; a dialog
    // it opened may have kept the menu from taking its prompt back.
    statusBar()->clearMessage();
}

void CMainFrame::OnSize(int value) {
    SizeField(ToolSettings::tool) = value;
    m_view->InvalidateAll();
}

void CMainFrame::ToggleBar(QWidget* bar) {
    bar->setVisible(!bar->isVisible());
}

bool CMainFrame::IsBarShown(QWidget* bar) const {
    return !bar->isHidden();
}

void CMainFrame::OnFilePrintPreview() {
    // Whether the preview shows one page or two is kept in the settings store.
    const std::unique_ptr<QSettings> settings = OpenSettingsStore();
    const QString key = QStringLiteral("Settings/PreviewPages");
    int pages = settings->value(key, 1).toInt();
    m_view->OnFilePrintPreview(pages);
    settings->setValue(key, pages);
}

void CMainFrame::OnFilePrintSetup() {
    QPageSetupDialog dialog(&m_view->Printer(), this);
    dialog.exec();
}

void CMainFrame::OnAppAbout() {
    CAboutDlg dlg(this);
    dlg.exec();
}

void CMainFrame::OnHelpIndex() {
    const QString page = m_prompts->HelpPage();
    // A missing help page gives no message, as it never has; a page that nothing can show does.
    if (!page.isEmpty() && !m_prompts->ShowHelpPage(page))
        m_prompts->ShowError(this, QStringLiteral("No program to show HTML pages is set up.\n"
                                                  "The help page is %1.")
                                       .arg(QDir::toNativeSeparators(page)));
}

void CMainFrame::OnSettings() {
    int grid = ToolSettings::grid;
    int width = m_doc->m_width;
    int height = m_doc->m_height;
    int overgrid = ToolSettings::overgrid;
    if (!m_prompts->AskSettings(this, grid, width, height, overgrid))
        return;
    std::string why;
    if (!m_view->ApplySettings(grid, overgrid, width, height, &why))
        m_prompts->ShowError(
            this,
            QStringLiteral("The map could not be resized.\n%1").arg(QString::fromStdString(why)));
}

void CMainFrame::UpdateCommandUI() {
    for (const ToolCommand& t : kToolCommands)
        if (QAction* a = Action(t.id))
            a->setChecked(ToolSettings::tool == t.kind);
    if (QAction* a = Action(ID_VIEW_GRID))
        a->setChecked(m_view->m_gridOn != 0);
    const int field = SizeField(ToolSettings::tool);
    for (int i = 0; i < 4; ++i)
        if (QAction* a = Action(kSizeCommands[i]))
            a->setChecked(field == i);
    const std::pair<int, QWidget*> bars[] = {{ID_VIEW_TOOLBAR, m_wndToolBar},
                                             {ID_VIEW_TOOLSBAR, m_wndToolsBar},
                                             {ID_VIEW_PATTERNBAR, m_wndPatternBar},
                                             {ID_VIEW_SIZEBAR, m_wndSizeBar},
                                             {ID_VIEW_STATUS_BAR, statusBar()}};
    for (const auto& [id, bar] : bars)
        if (QAction* a = Action(id))
            a->setChecked(IsBarShown(bar));
    // Cut, Copy and Paste act on a floating selection of the select tool.
    for (int id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE})
        if (QAction* a = Action(id))
            a->setEnabled(m_clipboardEnabled && m_clipboardEnabled(id));
}

void CMainFrame::OnToolChanged() {
    // The size bar shows the images of what its buttons set for this tool, and the pattern
    // palette shows symbols instead of brushes for the symbol tool.
    ApplySizeIcons();
    m_wndSizeBar->update();
    m_wndPatternBar->update();
    m_palette->update();
    UpdateCommandUI();
}

void CMainFrame::UpdateTitle() {
    // A "[*]" of the map's own name is doubled, so that it stays text.
    QString title = QString::fromStdString(m_doc->GetTitle());
    title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(title + QStringLiteral("[*] - ZK"));
    setWindowModified(m_doc->IsModified());
    UpdateStatusPanes();
}

void CMainFrame::SaveWindowState(QSettings& settings) const {
    settings.setValue(QStringLiteral("Window/geometry"), saveGeometry());
    settings.setValue(QStringLiteral("Window/state"), saveState());
}

void CMainFrame::RestoreWindowState(QSettings& settings) {
    restoreGeometry(settings.value(QStringLiteral("Window/geometry")).toByteArray());
    restoreState(settings.value(QStringLiteral("Window/state")).toByteArray());
    KeepOnScreen();
}

void CMainFrame::KeepOnScreen() {
    // Enough of the window to grab it must be on some screen; otherwise it goes to the middle of
    // the primary screen, no larger than that screen.
    const QRect window = geometry();
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect shown = screen->availableGeometry().intersected(window);
        if (shown.width() >= 100 && shown.height() >= 50)
            return;
    }
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return;
    const QRect screen = primary->availableGeometry();
    const QSize size = window.size().boundedTo(screen.size());
    setGeometry(QRect(
        QPoint(screen.center().x() - size.width() / 2, screen.center().y() - size.height() / 2),
        size));
}

QString CMainFrame::DroppedMap(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls()) {
        const QString path = url.toLocalFile();
        if (!path.isEmpty() && path.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive))
            return path;
    }
    return {};
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedMap(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QString path = DroppedMap(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened once the drop is over, so that the program the file came from does not wait on
    // the question about unsaved changes.
    QMetaObject::invokeMethod(
        this,
        [this, path] {
            m_view->CommitToolWork();
            OpenDocumentFile(path);
            UpdateCommandUI();
            UpdateTitle();
        },
        Qt::QueuedConnection);
}

void CMainFrame::AddRecentFile(const QString& path) {
    m_recentFiles->Add(path);
    RebuildRecentFileMenu();
}

void CMainFrame::RebuildRecentFileMenu() {
    for (QAction* a : m_recentActions) {
        m_fileMenu->removeAction(a);
        m_actions.erase(a->data().toInt());
        a->deleteLater();
    }
    m_recentActions.clear();
    const QStringList& files = m_recentFiles->Files();
    m_recentPlaceholder->setVisible(files.isEmpty());
    for (int i = 0; i < files.size(); ++i) {
        const int id = ID_FILE_MRU_FILE1 + i;
        const QString shown =
            fontMetrics().elidedText(QDir::toNativeSeparators(files[i]), Qt::ElideMiddle, 400);
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown), this);
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        m_fileMenu->insertAction(m_recentPlaceholder, action);
        m_recentActions.append(action);
        if (i == 0)
            m_actions.erase(ID_FILE_MRU_FILE1);
        m_actions[id] = action;
    }
    if (files.isEmpty())
        m_actions[ID_FILE_MRU_FILE1] = m_recentPlaceholder;
}

bool CMainFrame::SaveModified() {
    if (!m_doc->IsModified())
        return true;
    switch (m_prompts->AskSaveChanges(this, QString::fromStdString(m_doc->GetTitle()))) {
        case QMessageBox::Yes:
            return DoSave(QString::fromStdString(m_doc->GetPathName()));
        case QMessageBox::No:
            return true;
        default:
            return false;
    }
}

bool CMainFrame::DoSave(const QString& givenPath) {
    QString path = givenPath;
    if (path.isEmpty()) {
        path = m_prompts->AskSavePath(this, QString::fromStdString(m_doc->GetTitle()));
        if (path.isEmpty())
            return false;
    }
    std::string why;
    if (!m_doc->OnSaveDocument(path.toStdString(), &why)) {
        m_prompts->ShowError(this,
                             QStringLiteral("The map could not be saved to %1.\n%2")
                                 .arg(QDir::toNativeSeparators(path), QString::fromStdString(why)));
        return false;
    }
    AddRecentFile(path);
    UpdateTitle();
    return true;
}

bool CMainFrame::OpenDocumentFile(const QString& path) {
    m_openFailed = false;
    if (!SaveModified())
        return false;
    std::string why;
    if (!m_doc->OnOpenDocument(path.toStdString(), &why)) {
        m_openFailed = true;
        m_prompts->ShowError(this,
                             QStringLiteral("The map could not be opened from %1.\n%2")
                                 .arg(QDir::toNativeSeparators(path), QString::fromStdString(why)));
        return false;
    }
    AddRecentFile(path);
    m_view->OnInitialUpdate();
    UpdateTitle();
    return true;
}

void CMainFrame::OnFileNew() {
    int width = m_doc->m_width;
    int height = m_doc->m_height;
    if (!m_prompts->AskNewMapSize(this, width, height))
        return;
    if (!SaveModified())
        return;
    std::string why;
    if (!m_doc->NewMap(width, height, &why))
        m_prompts->ShowError(
            this,
            QStringLiteral("A new map could not be made.\n%1").arg(QString::fromStdString(why)));
    UpdateTitle();
}

void CMainFrame::OnFileOpen() {
    const QString path = m_prompts->AskOpenPath(this);
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

void CMainFrame::OnFileSave() {
    DoSave(QString::fromStdString(m_doc->GetPathName()));
}

void CMainFrame::OnFileSaveAs() {
    DoSave(QString());
}

void CMainFrame::OnRecentFile(int index) {
    const QStringList& files = m_recentFiles->Files();
    if (index < 0 || index >= files.size())
        return;
    const QString path = files[index];
    if (!OpenDocumentFile(path) && m_openFailed) {
        // A file that cannot be read leaves the list, as it always has; one the user chose not
        // to open after all stays.
        m_recentFiles->Remove(path);
        RebuildRecentFileMenu();
    }
}

void CMainFrame::CloseWithoutAsking() {
    m_closingWithoutQuestion = true;
    close();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!m_closingWithoutQuestion && !SaveModified()) {
        event->ignore();
        return;
    }
    OnDestroy();
    event->accept();
}

void CMainFrame::OnDestroy() {
    if (m_destroyed)
        return;
    m_destroyed = true;
    if (m_onDestroy)
        m_onDestroy();
}

}  // namespace zk
