#include "app/main_frame.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <algorithm>
#include <cstdio>

#include "app/about_dlg.h"
#include "app/help_page.h"
#include "app/language.h"
#include "app/map_export.h"
#include "doc/color_table.h"
#include "res/icons.h"
#include "res/menus.h"
#include "res/resource.h"
#include "tools/tool_settings.h"
#include "ui/pattern_palette.h"
#include "ui/reasons.h"
#include "view/zk_view.h"

namespace zk {

using namespace res;

namespace {

// The name of a map that has never been saved, as the document keeps it.
constexpr const char* kUntitled = QT_TRANSLATE_NOOP("zk::CMainFrame", "Bez názvu");
static_assert(std::string_view(kUntitled) == CZKDoc::kUntitledTitle);

// The kind of tool each tool command chooses.
constexpr std::pair<int, int> kToolKinds[] = {
    {ID_TOOL_TILES, kTilesTool},         {ID_TOOL_GRIDTILES, kGridTilesTool},
    {ID_TOOL_FREEHAND, kFreehandTool},   {ID_TOOL_LINES, kLinesTool},
    {ID_TOOL_RECTANGLE, kRectangleTool}, {ID_TOOL_ELLIPSE, kEllipseTool},
    {ID_TOOL_POLYGON, kPolygonTool},     {ID_TOOL_TEXT, kTextTool},
    {ID_TOOL_SYMBOLS, kSymbolTool},      {ID_TOOL_SELECT, kSelectTool},
};

// The tool kind of a tool command; -1 for any other command.
int ToolKindOf(int id) {
    for (const auto& [command, kind] : kToolKinds)
        if (command == id)
            return kind;
    return -1;
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
    m_view->m_onGestureFinished = [this] { ScheduleRecovery(); };
    m_recoveryTimer = new QTimer(this);
    m_recoveryTimer->setSingleShot(true);
    m_recoveryTimer->setInterval(kRecoveryDelayMs);
    connect(m_recoveryTimer, &QTimer::timeout, this, &CMainFrame::FlushRecovery);
    {
        const std::unique_ptr<QSettings> settings = OpenSettingsStore();
        m_languageChoice = StoredLanguage(*settings);
    }
    CreateMenus();
    ShowLanguageChoice();
    CreateBars();
    CreateStatusPanes();
    CreateAccelerators();
    CreateDesktopKeys();
    setAcceptDrops(true);
    qApp->installEventFilter(this);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &CMainFrame::UpdateCommandUI);
    // Gestures and the paint pass change what can be cut, copied, undone and redone, not a
    // command: once the events are handled, those commands follow, as the bars do when the
    // program is idle.
    const auto followSelection = [this] {
        const std::pair<int, bool> states[] = {{ID_EDIT_CUT, m_view->CanCutOrCopy()},
                                               {ID_EDIT_UNDO, m_view->CanUndo()},
                                               {ID_EDIT_REDO, m_view->CanRedo()}};
        for (const auto& [id, enabled] : states)
            if (const QAction* a = Action(id); a && a->isEnabled() != enabled) {
                UpdateCommandUI();
                return;
            }
    };
    QAbstractEventDispatcher* events = QAbstractEventDispatcher::instance();
    connect(events, &QAbstractEventDispatcher::aboutToBlock, this, followSelection);
    connect(events, &QAbstractEventDispatcher::awake, this, followSelection);
    resize(1000, 760);
    UpdateTitle();
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    // A window torn down unclosed keeps its store's files (the work may be unsaved); the
    // document must not hear of it any more.
    if (m_recovery)
        m_doc->SetRecovery(nullptr);
    m_closingWithoutQuestion = true;  // a window torn down without being closed asks nothing
    OnDestroy();
}

QAction* CMainFrame::Action(int id) const {
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::UpdateStatusPanes() {
    if (!m_positionPane)
        return;
    gdi::Point p;
    if (m_view->PointerOnMap(&p)) {
        const int g = ToolSettings::GridStep();
        m_positionPane->setText(QStringLiteral("%1, %2").arg(p.x).arg(p.y));
        m_cellPane->setText(CellText(p.x / g, p.y / g));
    } else {
        m_positionPane->clear();
        m_cellPane->clear();
    }
    m_zoomPane->setText(ZoomText(ToolSettings::zoom));
    m_sizePane->setText(QString::fromUtf8("%1 × %2").arg(m_doc->m_width).arg(m_doc->m_height));
}

QString CMainFrame::CellText(int column, int row) {
    return tr("buňka %1, %2").arg(column).arg(row);
}

QString CMainFrame::ZoomText(float zoom) {
    // Every step is a power of two from 1/64 up: its percentage ends within four decimals, so
    // it is shown exactly rather than rounded to something that is not the zoom.
    QString number = QString::number(static_cast<double>(zoom) * 100.0, 'f', 4);
    while (number.endsWith(QLatin1Char('0')))
        number.chop(1);
    if (number.endsWith(QLatin1Char('.')))
        number.chop(1);
    // With the decimal sign of the language spoken: a comma in Czech, a point in English.
    if (CurrentLanguage() != QLatin1String(kEnglish))
        number.replace(QLatin1Char('.'), QLatin1Char(','));
    return number + QStringLiteral(" %");
}

void CMainFrame::OnCommand(int id) {
    m_view->CommitToolWork();
    if (const int kind = ToolKindOf(id); kind >= 0) {
        m_view->SelectTool(kind);
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
            case ID_FILE_EXPORT:
                OnFileExport();
                break;
            case ID_FILE_PRINT:
                m_view->OnFilePrint();
                break;
            case ID_FILE_PRINT_SCALED:
                m_view->OnFilePrintScaled();
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
                m_view->OnEditUndo();
                break;
            case ID_EDIT_REDO:
                m_view->OnEditRedo();
                break;
            case ID_VIEW_ZOOMIN:
                m_view->OnZoomIn();
                break;
            case ID_VIEW_ZOOMOUT:
                m_view->OnZoomOut();
                break;
            case ID_VIEW_ZOOMFIT:
                m_view->OnZoomFit();
                break;
            case ID_VIEW_ZOOMACTUAL:
                m_view->OnZoomActual();
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
                m_view->OnEditCut();
                break;
            case ID_EDIT_COPY:
                m_view->OnEditCopy();
                break;
            case ID_EDIT_PASTE:
                OnEditPaste();
                break;
            default:
                for (const auto& [item, choice] : kLanguageItems)
                    if (id == item)
                        OnLanguage(QString::fromLatin1(choice));
                if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + RecentFileList::kSize)
                    OnRecentFile(id - ID_FILE_MRU_FILE1);
                break;
        }
    }
    UpdateCommandUI();
    UpdateTitle();
    ScheduleRecovery();
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
        m_prompts->ShowError(this, tr("Není nastaven žádný program, který ukazuje stránky HTML.\n"
                                      "Nápověda je v souboru %1.")
                                       .arg(QDir::toNativeSeparators(page)));
}

void CMainFrame::OnEditPaste() {
    std::string why;
    if (!m_view->OnEditPaste(&why) && !why.empty())
        m_prompts->ShowError(
            this, tr("Obrázek ze schránky nelze vložit.\n%1").arg(TranslatedReason(why)));
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
        m_prompts->ShowError(this,
                             tr("Velikost mapy nelze změnit.\n%1").arg(TranslatedReason(why)));
}

void CMainFrame::UpdateCommandUI() {
    for (const auto& [id, kind] : kToolKinds)
        if (QAction* a = Action(id))
            a->setChecked(ToolSettings::tool == kind);
    if (QAction* a = Action(ID_VIEW_GRID))
        a->setChecked(m_view->m_gridOn != 0);
    const int field = SizeField(ToolSettings::tool);
    for (int i = 0; i < 4; ++i)
        if (QAction* a = Action(kSizeBar[i]))
            a->setChecked(field == i);
    const std::pair<int, QWidget*> bars[] = {{ID_VIEW_TOOLBAR, m_wndToolBar},
                                             {ID_VIEW_TOOLSBAR, m_wndToolsBar},
                                             {ID_VIEW_PATTERNBAR, m_wndPatternBar},
                                             {ID_VIEW_SIZEBAR, m_wndSizeBar},
                                             {ID_VIEW_STATUS_BAR, statusBar()}};
    for (const auto& [id, bar] : bars)
        if (QAction* a = Action(id))
            a->setChecked(IsBarShown(bar));
    // Cut and Copy need floating pixels of the select tool, whichever tool is current; Paste a
    // picture on the clipboard, whoever put it there.
    const bool selection = m_view->CanCutOrCopy();
    const std::pair<int, bool> edits[] = {{ID_EDIT_CUT, selection},
                                          {ID_EDIT_COPY, selection},
                                          {ID_EDIT_PASTE, m_view->CanPaste()},
                                          {ID_EDIT_UNDO, m_view->CanUndo()},
                                          {ID_EDIT_REDO, m_view->CanRedo()}};
    for (const auto& [id, enabled] : edits)
        if (QAction* a = Action(id))
            a->setEnabled(enabled);
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

QString CMainFrame::DocumentName() const {
    return ShownTitle(m_doc->GetPathName(), m_doc->GetTitle());
}

QString CMainFrame::ShownTitle(const std::string& path, const std::string& title) {
    if (path.empty() && title == CZKDoc::kUntitledTitle)
        return tr(kUntitled);
    return QString::fromStdString(title);
}

void CMainFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        RetranslateUi();
    QMainWindow::changeEvent(event);
}

void CMainFrame::ShowLanguageChoice() {
    for (const auto& [id, choice] : kLanguageItems)
        if (m_languageChoice == QLatin1String(choice))
            Action(id)->setChecked(true);
}

void CMainFrame::OnLanguage(const QString& choice) {
    m_languageChoice = choice;
    ShowLanguageChoice();
    {
        const std::unique_ptr<QSettings> settings = OpenSettingsStore();
        StoreLanguage(*settings, choice);
    }
    SetLanguage(ChooseLanguage(choice, QLocale::system().uiLanguages()));
}

void CMainFrame::UpdateTitle() {
    // A "[*]" of the map's own name is doubled, so that it stays text.
    QString title = DocumentName();
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
        if (!path.isEmpty() && MapFormatOfName(path.toStdString()))
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
    switch (m_prompts->AskSaveChanges(this, DocumentName())) {
        case QMessageBox::Yes:
            return DoSave(QString::fromStdString(m_doc->GetPathName()));
        case QMessageBox::No:
            return true;
        default:
            return false;
    }
}

bool CMainFrame::DoSave(const QString& givenPath) {
    // What is written is what the screen shows.
    m_view->LandSelection();
    QString path = givenPath;
    MapFormat format = m_doc->GetFormat();
    if (path.isEmpty()) {
        path = m_prompts->AskSavePath(this, DocumentName(), format);
        if (path.isEmpty())
            return false;
    }
    // A PNG file keeps every colour; only a bitmap file may need to lose some.
    if (format == MapFormat::Bmp && !AgreeToReduceColors())
        return false;
    std::string why;
    if (!m_doc->OnSaveDocument(path.toStdString(), format, &why)) {
        m_prompts->ShowError(this, tr("Mapu nelze uložit do %1.\n%2")
                                       .arg(QDir::toNativeSeparators(path), TranslatedReason(why)));
        return false;
    }
    AddRecentFile(path);
    UpdateTitle();
    return true;
}

bool CMainFrame::OpenDocumentFile(const QString& path) {
    m_openFailed = false;
    // A floating selection belongs to the map it was lifted from: it lands there first, so that
    // the question about unsaved changes covers it.
    m_view->LandSelection();
    if (!SaveModified())
        return false;
    std::string why;
    if (!m_doc->OnOpenDocument(path.toStdString(), &why)) {
        m_openFailed = true;
        m_prompts->ShowError(this, tr("Mapu nelze otevřít ze souboru %1.\n%2")
                                       .arg(QDir::toNativeSeparators(path), TranslatedReason(why)));
        return false;
    }
    AddRecentFile(path);
    m_view->ForgetToolWork();
    m_view->OnInitialUpdate();
    UpdateTitle();
    return true;
}

void CMainFrame::OnFileNew() {
    m_view->LandSelection();
    int width = m_doc->m_width;
    int height = m_doc->m_height;
    if (!m_prompts->AskNewMapSize(this, width, height))
        return;
    if (!SaveModified())
        return;
    std::string why;
    if (m_doc->NewMap(width, height, &why))
        m_view->ForgetToolWork();
    else
        m_prompts->ShowError(this, tr("Novou mapu nelze vytvořit.\n%1").arg(TranslatedReason(why)));
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

bool CMainFrame::AgreeToReduceColors() {
    const quint32 colors = CountColors(m_doc->m_bitmap, 256);
    return colors <= 256 || m_prompts->AskReduceColors(this, CountColors(m_doc->m_bitmap));
}

void CMainFrame::OnFileExport() {
    // What is exported is what the screen shows.
    m_view->LandSelection();
    int format = m_exportFormat;
    const QString title = QFileInfo(DocumentName()).completeBaseName();
    const QString path = m_prompts->AskExportPath(this, title, format);
    if (path.isEmpty())
        return;
    m_exportFormat = format;
    const ExportFormat& chosen = kExportFormats[format];
    if (chosen.keeps256 && !AgreeToReduceColors())
        return;
    // A PDF is the print at true scale, with its choices.
    PdfExport pdf;
    if (chosen.kind == ExportKind::Pdf) {
        if (!m_prompts->AskScaledPdf(m_view))
            return;
        pdf.options = m_view->ScaledOptions();
        pdf.page = m_view->Printer().pageLayout();
    }
    QString why;
    if (!ExportMap(chosen, m_doc->m_bitmap, ToolSettings::GridStep(), path, &why, pdf))
        m_prompts->ShowError(
            this, tr("Mapu nelze exportovat do %1.\n%2")
                      .arg(QDir::toNativeSeparators(path), TranslatedReason(why.toStdString())));
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
    // Closed without questions (a log-out) with unsaved work: the store keeps it for the next
    // start. Otherwise the user saved it or let it go.
    if (m_closingWithoutQuestion && m_doc->IsModified()) {
        m_view->CommitToolWork();
        FlushRecovery();
    } else {
        EndRecovery();
    }
    OnDestroy();
    event->accept();
}

QString CMainFrame::RecoveryFolder() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data.isEmpty() ? QString() : data + QStringLiteral("/ZK/recovery");
}

void CMainFrame::StartRecovery(const QString& folder) {
    if (folder.isEmpty())
        return;
    const std::string dir = folder.toStdString();
    std::vector<std::string> broken;
    bool restored = false;
    int kept = 0;
    for (const RecoveryStore::Info& info : RecoveryStore::Orphans(dir, &broken)) {
        // Once a map is back, the others wait for the next start: there is one map at a time.
        if (restored) {
            ++kept;
            continue;
        }
        const QString name = info.path.empty() ? ShownTitle(info.path, info.title)
                                               : QString::fromStdString(info.path);
        const QString when = QLocale().toString(QDateTime::fromMSecsSinceEpoch(info.changedMs),
                                                QLocale::ShortFormat);
        const FramePrompts::RecoveryAnswer answer =
            m_prompts->AskRestore(this, QDir::toNativeSeparators(name), when);
        if (answer == FramePrompts::RecoveryAnswer::Keep) {
            ++kept;
            continue;
        }
        if (answer == FramePrompts::RecoveryAnswer::Discard) {
            RecoveryStore::Remove(info.file);
            continue;
        }
        RecoveryStore::Info read;
        gdi::Bitmap map;
        std::string why;
        if (!RecoveryStore::Read(info.file, read, map, &why)) {
            RecoveryStore::MoveAside(info.file);
            m_prompts->ShowError(
                this, tr("Mapu %1 nelze obnovit.\n%2\n"
                         "Záznam zůstal jako %3.broken.")
                          .arg(name, TranslatedReason(why), QString::fromStdString(info.file)));
            continue;
        }
        m_doc->RestoreMap(std::move(map), read.path, read.title);
        RecoveryStore::Remove(info.file);
        m_view->ForgetToolWork();
        m_view->OnInitialUpdate();
        restored = true;
    }
    for (const std::string& b : broken)
        std::fprintf(stderr, "zk: an unreadable recovery store was moved aside: %s\n", b.c_str());
    std::string why;
    m_recovery = RecoveryStore::Create(dir, &why);
    if (!m_recovery) {
        SayRecoveryOff(why);
    } else {
        m_doc->SetRecovery(m_recovery.get());
        m_doc->FlushRecovery();
    }
    if (kept > 0)
        statusBar()->showMessage(tr("Neuložené mapy ponechány pro příští spuštění: %1").arg(kept));
    UpdateTitle();
}

void CMainFrame::SayRecoveryOff(const std::string& why) {
    m_recoveryFailed = true;
    const QString text = tr("Obnova po pádu je vypnuta: %1").arg(TranslatedReason(why));
    statusBar()->showMessage(text);
    std::fprintf(stderr, "zk: %s\n", text.toLocal8Bit().constData());
}

void CMainFrame::ScheduleRecovery() {
    if (m_recovery && !m_recoveryFailed)
        m_recoveryTimer->start();
}

void CMainFrame::FlushRecovery() {
    if (!m_recovery || m_recoveryFailed)
        return;
    // The gesture lands now, as it would for a command, so that the store gets all of it.
    m_view->CommitToolWork();
    m_doc->FlushRecovery();
    if (const std::string e = m_recovery->Error(); !e.empty()) {
        // Said once; painting goes on without the store.
        m_doc->SetRecovery(nullptr);
        SayRecoveryOff(e);
    }
}

void CMainFrame::EndRecovery() {
    m_recoveryTimer->stop();
    if (!m_recovery)
        return;
    m_doc->SetRecovery(nullptr);
    m_recovery->Discard();
    m_recovery.reset();
}

void CMainFrame::OnDestroy() {
    if (m_destroyed)
        return;
    m_destroyed = true;
    if (m_onDestroy)
        m_onDestroy();
}

}  // namespace zk
