// The application: start-up in the order the program has always used, the settings store, and
// shut-down.
#pragma once

#include <QCoreApplication>
#include <QSettings>
#include <QStringList>
#include <memory>
#include <string>

#include "app/map_export.h"
#include "app/recent_file_list.h"
#include "doc/zk_doc.h"

namespace zk {

class CMainFrame;

class CZKApp {
    Q_DECLARE_TR_FUNCTIONS(zk::CZKApp)

  public:
    CZKApp();
    ~CZKApp();

    // Reads the settings, makes the document, the main window and its view, and opens the map
    // named in `args` (the program's arguments without its name). False when the program ends
    // here: with ExitCode() 1 and the reason in ErrorText() when it cannot go on, with
    // kMisuseStatus when `args` make no command, with 0 after printing a map for "-p FILE".
    bool InitInstance(const QStringList& args);
    // Writes the settings back. Runs on every exit, also after a failed start.
    int ExitInstance();

    CMainFrame* MainFrame() const { return m_frame.get(); }
    CZKDoc& Document() { return m_doc; }
    const QString& ErrorText() const { return m_error; }
    // The same for a user at the screen, in the language the program speaks.
    QString ErrorBoxText() const { return m_boxText.isEmpty() ? m_error : m_boxText; }
    int ExitCode() const { return m_exitCode; }
    RecentFileList& RecentFiles() { return m_recentFiles; }

    // The seven tool settings of section "set", in the order they are read and written.
    static void LoadToolSettings(QSettings& settings);
    static void SaveToolSettings(QSettings& settings);
    // How much the undo history keeps, in MiB: "set"/"undolimit", brought into 16 .. 65536; a
    // missing or unreadable value gives 512.
    static constexpr const char* kUndoLimitKey = "set/undolimit";
    static constexpr qlonglong kMinUndoLimitMiB = 16, kMaxUndoLimitMiB = 65536;
    static constexpr std::size_t kDefaultUndoLimitMiB = 512;
    static std::size_t UndoLimitMiB(QSettings& settings);
    // The grid step of section "set" as a start would take it, leaving ToolSettings alone.
    static int StoredGrid(QSettings& settings);
    // The settings store: organisation "ZK", application "ZK", in the platform's native format.
    static std::unique_ptr<QSettings> OpenSettings();

    // The folder the pattern library reads, for the stored "path"/"brush" value: that value when
    // there is one; empty (meaning ./brush/ under the current folder) when that folder exists;
    // otherwise the user's own folder, <data location>/ZK/brush/, created and filled with the
    // shipped set on first use.
    static std::string PatternFolder(const QString& stored);

    // Speaks the language chosen in the settings store, or else the desktop's (SetLanguage).
    static void StartLanguage(QSettings& settings);

    // "--help" or "--version" among the program's arguments: true, with the text to print
    // (usage or version); the program then ends without opening a window.
    static bool InfoOption(const QStringList& args, QString* text);
    // What "--help" prints; also follows the reason when the arguments make no command.
    static QString UsageText();

    // The program's arguments as understood: zk [FILE], zk -p FILE, or
    // zk --export OUT [--grid N] FILE.
    struct CommandLine {
        QString file;
        bool print = false;
        // --export: the file to write (its format from its extension), and --grid's step, 0 for
        // the one in the settings store.
        bool exporting = false;
        QString exportTo;
        int grid = 0;
        // A PDF's print at true scale: --cell-mm, --paper (A4, A3, Letter, Legal), --landscape,
        // --overlap (0 to 3 cells).
        PdfExport pdf;
        // Why the arguments make no command (an unknown option, a second file, -p without its
        // file, a bad --export or --grid); empty when they do. Such a start ends with
        // kMisuseStatus, the reason and, unless it was to export, the usage.
        QString misuse;
        // Whether the run does its work and ends by itself, as a script starts it: then nobody
        // may be there to close a message box, and its errors go to stderr only.
        bool EndsByItself() const { return print || exporting || !misuse.isEmpty(); }
    };
    static CommandLine ParseCommandLine(const QStringList& args);
    static constexpr int kMisuseStatus = 2;

    // Does the --export of `line`: reads the map, writes it to the file it names, atomically.
    // Needs no display and no application object: it runs before either exists. Returns the
    // exit status, 0 when the file is written, kMisuseStatus for a command line that makes no
    // command, 1 when the map cannot be read or the file cannot be written; the reason, one
    // line, goes to `error`.
    static int RunExport(const CommandLine& line, QString* error);

    // Shows why the program could not start in a message box, for a user who started it from a
    // desktop and sees no terminal; only when StartErrorGetsABox(args, onScreen).
    static void ShowStartError(const QString& text, const QStringList& args,
                               bool onScreen = HasScreen());
    // Only a start that was to open the window, and only on a screen: a platform without one
    // has nobody to close the box, and a run that ends by itself must not wait on one.
    static bool StartErrorGetsABox(const QStringList& args, bool onScreen);
    static bool HasScreen();

  private:
    bool PrintAndEnd(const QString& file);

    CZKDoc m_doc;
    RecentFileList m_recentFiles;
    std::unique_ptr<CMainFrame> m_frame;
    QString m_error;
    QString m_boxText;
    int m_exitCode = 1;
};

}  // namespace zk
