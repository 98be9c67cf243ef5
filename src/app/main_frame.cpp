#include "app/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

#include "res/resource.h"
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
    bool built;
};
constexpr ToolCommand kToolCommands[] = {
    {ID_TOOL_TILES, kTilesTool, "dlaždice", "Ctrl+1", false},
    {ID_TOOL_GRIDTILES, kGridTilesTool, "dlaždice v síti", "Ctrl+2", false},
    {ID_TOOL_FREEHAND, kFreehandTool, "kreslení", "Ctrl+3", true},
    {ID_TOOL_RECTANGLE, kRectangleTool, "obdélník", "Ctrl+4", false},
    {ID_TOOL_ELLIPSE, kEllipseTool, "elipsa", "Ctrl+5", false},
    {ID_TOOL_POLYGON, kPolygonTool, "mnohoúhelník", "Ctrl+6", false},
    {ID_TOOL_TEXT, kTextTool, "text", "Ctrl+7", false},
    {ID_TOOL_SYMBOLS, kSymbolTool, "symboly", "Ctrl+8", false},
    {ID_TOOL_SELECT, kSelectTool, "vybrat", "Ctrl+9", false},
    {ID_TOOL_LINES, kLinesTool, "čáry", "Ctrl+0", false},
};

// Ctrl+1 .. Ctrl+9, Ctrl+0 in the tool palette's order.
constexpr int kToolKeyOrder[] = {
    ID_TOOL_TILES,   ID_TOOL_GRIDTILES, ID_TOOL_FREEHAND, ID_TOOL_LINES,   ID_TOOL_RECTANGLE,
    ID_TOOL_ELLIPSE, ID_TOOL_POLYGON,   ID_TOOL_TEXT,     ID_TOOL_SYMBOLS, ID_TOOL_SELECT};

const ToolCommand* FindToolCommand(int id) {
    for (const ToolCommand& t : kToolCommands)
        if (t.id == id)
            return &t;
    return nullptr;
}

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

CMainFrame::CMainFrame(CZKDoc* doc, RecentFileList* recentFiles, QWidget* parent)
    : QMainWindow(parent),
      m_doc(doc),
      m_recentFiles(recentFiles),
      m_view(new CZKView(doc, this)),
      m_prompts(std::make_unique<FramePrompts>()) {
    setCentralWidget(m_view);
    m_view->m_onToolChanged = [this] { OnToolChanged(); };
    CreateMenus();
    CreateAccelerators();
    qApp->installEventFilter(this);
    resize(900, 700);
    UpdateTitle();
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    OnDestroy();
}

QAction* CMainFrame::AddCommand(QMenu* menu, int id, const QString& text) {
    auto* action = new QAction(text, this);
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    menu->addAction(action);
    m_actions[id] = action;
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
    m_recentPlaceholder = AddCommand(m_fileMenu, ID_FILE_MRU_FILE1, U("Recent File"));
    m_recentPlaceholder->setEnabled(false);
    m_fileMenu->addSeparator();
    AddCommand(m_fileMenu, ID_APP_EXIT, U("Konec"));
    RebuildRecentFileMenu();

    QMenu* edit = menuBar()->addMenu(U("&Úpravy"));
    AddCommand(edit, ID_EDIT_UNDO, U("&Zpět\tCtrl+Z"));

    QMenu* view = menuBar()->addMenu(U("&Zobrazit"));
    AddCommand(view, ID_VIEW_ZOOMIN, U("Přiblížit\t+"));
    AddCommand(view, ID_VIEW_ZOOMOUT, U("Oddálit\t-"));
    view->addSeparator();
    AddCommand(view, ID_VIEW_GRID, U("&Mřížka\tCtrl+G"))->setCheckable(true);

    QMenu* tools = menuBar()->addMenu(U("&Nástroje"));
    QMenu* toolList = tools->addMenu(U("&Nástroje"));
    for (const ToolCommand& t : kToolCommands) {
        if (!t.built)
            continue;
        AddCommand(toolList, t.id, U(t.text) + QLatin1Char('\t') + QLatin1String(t.label))
            ->setCheckable(true);
    }

    for (QMenu* m : menuBar()->findChildren<QMenu*>())
        connect(m, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
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
    bind(QKeySequence(Qt::CTRL | Qt::Key_Z), ID_EDIT_UNDO);
    bind(QKeySequence(Qt::ALT | Qt::Key_Backspace), ID_EDIT_UNDO);
    bind(QKeySequence(Qt::CTRL | Qt::Key_G), ID_VIEW_GRID);
    const int digits[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5,
                          Qt::Key_6, Qt::Key_7, Qt::Key_8, Qt::Key_9, Qt::Key_0};
    for (int i = 0; i < 10; ++i) {
        const ToolCommand* t = FindToolCommand(kToolKeyOrder[i]);
        if (t && t->built)
            bind(QKeySequence(Qt::CTRL | digits[i]), t->id);
    }
    // The zoom keys are the numeric keypad's + and -, which are matched in eventFilter: a
    // shortcut made with the keypad modifier is not matched on every platform.
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && (key->modifiers() & Qt::KeypadModifier)) {
            if (key->key() == Qt::Key_Plus) {
                OnCommand(ID_VIEW_ZOOMIN);
                return true;
            }
            if (key->key() == Qt::Key_Minus) {
                OnCommand(ID_VIEW_ZOOMOUT);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::OnCommand(int id) {
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
            case ID_APP_EXIT:
                close();
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
            default:
                if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + RecentFileList::kSize)
                    OnRecentFile(id - ID_FILE_MRU_FILE1);
                break;
        }
    }
    UpdateCommandUI();
    UpdateTitle();
}

void CMainFrame::UpdateCommandUI() {
    for (const ToolCommand& t : kToolCommands)
        if (QAction* a = Action(t.id))
            a->setChecked(ToolSettings::tool == t.kind);
    if (QAction* a = Action(ID_VIEW_GRID))
        a->setChecked(m_view->m_gridOn != 0);
}

void CMainFrame::OnToolChanged() {
    UpdateCommandUI();
}

void CMainFrame::UpdateTitle() {
    setWindowTitle(QString::fromStdString(m_doc->GetTitle()) + QStringLiteral(" - ZK"));
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
    m_recentFiles->Add(path);
    RebuildRecentFileMenu();
    UpdateTitle();
    return true;
}

bool CMainFrame::OpenDocumentFile(const QString& path) {
    if (!SaveModified())
        return false;
    std::string why;
    if (!m_doc->OnOpenDocument(path.toStdString(), &why)) {
        m_prompts->ShowError(this,
                             QStringLiteral("The map could not be opened from %1.\n%2")
                                 .arg(QDir::toNativeSeparators(path), QString::fromStdString(why)));
        return false;
    }
    m_recentFiles->Add(path);
    RebuildRecentFileMenu();
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
    if (!OpenDocumentFile(path) && !QFileInfo::exists(path)) {
        // A file that is gone leaves the list, as it always has.
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
