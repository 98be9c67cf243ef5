// The main window: menus, accelerators, the map view in the middle, and the file commands. Its
// menus, bars and keys are built in main_frame_create.cpp.
#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "app/frame_prompts.h"
#include "app/language.h"
#include "app/recent_file_list.h"
#include "doc/recovery_store.h"
#include "doc/zk_doc.h"
#include "res/resource.h"

class QAction;
class QSettings;
class QLabel;
class QMenu;
class QMimeData;
class QToolBar;
class QTimer;

namespace zk {

class CPatternPalette;
class CZKView;

class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    CMainFrame(CZKDoc* doc, RecentFileList* recentFiles, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CZKView* GetView() const { return m_view; }
    CZKDoc* GetDocument() const { return m_doc; }

    // Runs a command by its identifier, as a menu item, a button or a key would.
    void OnCommand(int id);
    QAction* Action(int id) const;
    // Brings check marks and enabled states up to date, as the update handlers say.
    void UpdateCommandUI();
    // The view's current tool changed.
    void OnToolChanged();

    // Opens a map: asks to save changes first, reports a failure and keeps the current map then.
    bool OpenDocumentFile(const QString& path);
    // Asks "Save changes to ...?" when the map is modified; false when the user cancels (or the
    // save fails), true when it is fine to throw the current map away.
    bool SaveModified();
    bool DoSave(const QString& path);  // empty path: ask for a name
    // Closes the window without asking anything, as a desktop session's log-out does.
    void CloseWithoutAsking();
    // Whether the window is going away without questions (a log-out, or torn down unclosed).
    bool ClosingWithoutQuestion() const { return m_closingWithoutQuestion; }

    // Offers the maps that runs which ended without saving left in `folder`, one after another,
    // then records this run's map there. A folder that cannot take the store is said once.
    void StartRecovery(const QString& folder);
    // The store of this run; null when recovery is off.
    RecoveryStore* Recovery() const { return m_recovery.get(); }
    // What the last gesture or command changed goes to the store now, not after the short wait.
    void FlushRecovery();
    // How long after a gesture or command the store is written: soon enough to be durable
    // within a second, late enough for the paint pass to have landed the gesture.
    static constexpr int kRecoveryDelayMs = 150;
    // The recovery store's folder under the user's data folder.
    static QString RecoveryFolder();

    void SetPrompts(std::unique_ptr<FramePrompts> prompts) { m_prompts = std::move(prompts); }
    FramePrompts& Prompts() { return *m_prompts; }

    // Called once when the window goes away, before anything is torn down (the pattern
    // library is written back here).
    std::function<void()> m_onDestroy;

    // The caption: the map's title, "[*]" where the unsaved-changes mark goes, " - ZK".
    void UpdateTitle();
    // The map's name as the window and its questions show it: a map that has never been saved
    // is "Bez názvu" in the language the program speaks.
    QString DocumentName() const;
    // The same for a map of that path and title.
    static QString ShownTitle(const std::string& path, const std::string& title);
    // The language chosen in the Settings menu: "cs", "en", or empty for the desktop's.
    const QString& LanguageChoice() const { return m_languageChoice; }
    // The items of that menu and the choice each makes.
    static constexpr std::pair<int, const char*> kLanguageItems[] = {
        {res::ID_LANGUAGE_DESKTOP, ""},
        {res::ID_LANGUAGE_CZECH, kCzech},
        {res::ID_LANGUAGE_ENGLISH, kEnglish}};
    // A map just opened or saved goes to the top of the recent-file list and its menu at once.
    void AddRecentFile(const QString& path);

    // The settings store: organisation "ZK", application "ZK", in the platform's native format.
    static std::unique_ptr<QSettings> OpenSettingsStore();

    // The window's size and place and the bars' places, kept in section "Window" of the store.
    // A saved place no screen shows any more gives way to one on the screen.
    void SaveWindowState(QSettings& settings) const;
    void RestoreWindowState(QSettings& settings);

    // The map file a drop would open: the first local .bmp or .png file among the dropped ones.
    static QString DroppedMap(const QMimeData* data);

    // The zoom as the status bar shows it: the exact percentage with the decimal sign of the
    // language spoken, in Czech "3200 %", "100 %", "12,5 %", "1,5625 %".
    static QString ZoomText(float zoom);
    // The grid cell pane's text: "buňka 3, 4".
    static QString CellText(int column, int row);

    // Which size images the size bar shows, and which setting its buttons set, for a tool.
    static int SizeImageSet(int tool);
    static int& SizeField(int tool);

    QToolBar* m_wndToolBar = nullptr;
    QToolBar* m_wndToolsBar = nullptr;
    QToolBar* m_wndSizeBar = nullptr;
    QToolBar* m_wndPatternBar = nullptr;
    CPatternPalette* m_palette = nullptr;

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateMenus();
    void CreateBars();
    void CreateAccelerators();
    // Keys a Qt desktop program has beside the classic ones: Save As, Quit, the main
    // keyboard's zoom keys.
    void CreateDesktopKeys();
    void CreateStatusPanes();
    void UpdateStatusPanes();
    void KeepOnScreen();
    QToolBar* NewBar(std::string_view title, const QString& objectName);
    void ApplyIcons();
    void ApplySizeIcons();
    void UpdateLockIndicators();
    void ToggleBar(QWidget* bar);
    bool IsBarShown(QWidget* bar) const;
    void OnSize(int value);
    void OnFilePrintPreview();
    void OnFilePrintSetup();
    void OnAppAbout();
    void OnHelpIndex();
    void OnSettings();
    void OnEditPaste();
    QAction* AddCommand(QMenu* menu, int id, const QString& text);
    // Every text of the menus, bars and status bar again, in the language now spoken.
    void RetranslateUi();
    void OnLanguage(const QString& choice);
    // Puts the mark on the language item of m_languageChoice.
    void ShowLanguageChoice();
    void RebuildRecentFileMenu();

    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    // Writes what the screen shows as a PNG picture, a Universal VTT file (on the grid of the
    // moment) or a bitmap file, leaving the map's own file, name and unsaved mark as they are.
    void OnFileExport();
    // A bitmap file keeps 256 colours: true when the map has no more, or the user agrees to have
    // the rest reduced.
    bool AgreeToReduceColors();
    void OnRecentFile(int index);
    void OnDestroy();
    void ScheduleRecovery();
    // The store cannot be used: said once, on the status bar and stderr.
    void SayRecoveryOff(const std::string& why);
    // The work is safe elsewhere (saved, or the user let it go): the store goes away.
    void EndRecovery();

    CZKDoc* m_doc;
    RecentFileList* m_recentFiles;
    CZKView* m_view;
    std::unique_ptr<FramePrompts> m_prompts;
    std::map<int, QAction*> m_actions;
    // The menus with the texts they were made from, for RetranslateUi.
    std::vector<std::pair<QMenu*, std::string_view>> m_menuTexts;
    QString m_languageChoice;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentPlaceholder = nullptr;
    QList<QAction*> m_recentActions;
    QList<QLabel*> m_lockIndicators;
    QLabel* m_positionPane = nullptr;
    QLabel* m_cellPane = nullptr;
    QLabel* m_zoomPane = nullptr;
    QLabel* m_sizePane = nullptr;
    std::unique_ptr<RecoveryStore> m_recovery;
    QTimer* m_recoveryTimer = nullptr;
    bool m_recoveryFailed = false;
    bool m_closingWithoutQuestion = false;
    bool m_openFailed = false;  // the last open read no map (not: the user cancelled)
    bool m_destroyed = false;
    int m_exportFormat = 0;  // offered first by the next Export: the last one chosen
};

}  // namespace zk
