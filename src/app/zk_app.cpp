#include "app/zk_app.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "app/language.h"
#include "app/main_frame.h"
#include "app/map_export.h"
#include "app/shipped_patterns.h"
#include "doc/color_table.h"
#include "doc/map_file.h"
#include "doc/pattern_library.h"
#include "tools/tool_settings.h"
#include "ui/reasons.h"
#include "view/zk_view.h"

namespace zk {

namespace {

struct IntSetting {
    const char* key;
    int* value;
    int fallback;
};

// The order the settings have always been read and written in.
const IntSetting kSetSection[] = {
    {"fill", &ToolSettings::fill, 8},         {"grid", &ToolSettings::grid, 16},
    {"line", &ToolSettings::line, 0},         {"secfill", &ToolSettings::secfill, 4},
    {"tool", &ToolSettings::tool, 5},         {"symbol", &ToolSettings::symbol, 0},
    {"overgrid", &ToolSettings::overgrid, 1},
};

// The pattern edits are the user's work: files that cannot take them are named on stderr and,
// unless the window goes away without questions, in a message that offers to try again (after
// freeing space, say) before the window is gone.
void WritePatternsBack(CMainFrame& frame) {
    while (true) {
        const std::vector<PatternLibrary::WriteFailure> failures = g_patternLibrary.SaveAll();
        if (failures.empty())
            return;
        QString text = CZKApp::tr("Tyto upravené soubory výplní a symbolů nelze zapsat:\n");
        for (const PatternLibrary::WriteFailure& f : failures) {
            const QString path = QString::fromStdString(f.path);
            const QString line =
                QStringLiteral("%1: %2").arg(path, QString::fromStdString(f.reason));
            std::fprintf(stderr, "zk: cannot write pattern file %s\n",
                         line.toLocal8Bit().constData());
            text += QStringLiteral("\n%1: %2").arg(path, TranslatedReason(f.reason));
        }
        text += CZKApp::tr("\n\nPokud se nezapíšou, jejich úpravy se ztratí.");
        if (frame.ClosingWithoutQuestion() || !frame.Prompts().AskRetryPatternWrite(&frame, text))
            return;
    }
}

}  // namespace

CZKApp::CZKApp() = default;
CZKApp::~CZKApp() = default;

std::unique_ptr<QSettings> CZKApp::OpenSettings() {
    return CMainFrame::OpenSettingsStore();
}

namespace {

// The setting's value in the open section, or its default.
int ReadSetting(QSettings& settings, const IntSetting& s) {
    bool ok = false;
    const int v = settings.value(QString::fromLatin1(s.key), s.fallback).toInt(&ok);
    // A value that is not a number is as good as missing.
    return ok ? v : s.fallback;
}

}  // namespace

void CZKApp::LoadToolSettings(QSettings& settings) {
    settings.beginGroup(QStringLiteral("set"));
    for (const IntSetting& s : kSetSection)
        *s.value = ReadSetting(settings, s);
    settings.endGroup();
    ToolSettings::zoom = 1.0f;
    ToolSettings::tilesize = 0;
    ToolSettings::symbolrotation = 0;
    ToolSettings::Sanitize();
}

std::size_t CZKApp::UndoLimitMiB(QSettings& settings) {
    bool ok = false;
    const qlonglong stored = settings.value(QString::fromLatin1(kUndoLimitKey)).toLongLong(&ok);
    if (!ok)
        return kDefaultUndoLimitMiB;
    return static_cast<std::size_t>(
        std::clamp<qlonglong>(stored, kMinUndoLimitMiB, kMaxUndoLimitMiB));
}

int CZKApp::StoredGrid(QSettings& settings) {
    settings.beginGroup(QStringLiteral("set"));
    int grid = 0;
    for (const IntSetting& s : kSetSection)
        if (s.value == &ToolSettings::grid)
            grid = ReadSetting(settings, s);
    settings.endGroup();
    return ToolSettings::ValidGrid(grid);
}

void CZKApp::SaveToolSettings(QSettings& settings) {
    settings.beginGroup(QStringLiteral("set"));
    for (const IntSetting& s : kSetSection)
        settings.setValue(QString::fromLatin1(s.key), *s.value);
    settings.endGroup();
}

bool CZKApp::InitInstance(const QStringList& args) {
    {
        const std::unique_ptr<QSettings> settings = OpenSettings();
        m_recentFiles.Load(*settings);
        LoadToolSettings(*settings);
        m_doc.SetUndoLimit(UndoLimitMiB(*settings) * UndoHistory::kMiB);
    }

    const CommandLine line = ParseCommandLine(args);
    if (!line.misuse.isEmpty()) {
        m_error = line.misuse;
        m_exitCode = kMisuseStatus;
        return false;
    }
    const QString& file = line.file;
    const bool print = line.print;

    m_frame = std::make_unique<CMainFrame>(&m_doc, &m_recentFiles);
    if (file.isEmpty()) {
        if (!m_doc.OnNewDocument()) {
            m_error = QStringLiteral("not enough memory for a new map");
            m_boxText = TranslatedReason(m_error.toStdString());
            return false;
        }
    } else {
        std::string why;
        if (!m_doc.OnOpenDocument(file.toStdString(), &why)) {
            m_error = QStringLiteral("cannot open %1: %2").arg(file, QString::fromStdString(why));
            m_boxText =
                tr("Mapu nelze otevřít ze souboru %1.\n%2").arg(file, TranslatedReason(why));
            m_frame.reset();
            return false;
        }
        m_frame->AddRecentFile(file);
    }
    if (print) {
        m_frame.reset();
        return PrintAndEnd(file);
    }
    m_frame->GetView()->OnInitialUpdate();
    {
        // The patterns are read once the first map exists, and go back to their files when the
        // window goes away, also when the session ends the program.
        const std::unique_ptr<QSettings> settings = OpenSettings();
        const QString dir = settings->value(QStringLiteral("path/brush"), QString()).toString();
        g_patternLibrary.Load(PatternFolder(dir));
    }
    {
        const std::unique_ptr<QSettings> settings = OpenSettings();
        m_frame->RestoreWindowState(*settings);
    }
    m_frame->m_onDestroy = [frame = m_frame.get()] {
        {
            const std::unique_ptr<QSettings> settings = OpenSettings();
            frame->SaveWindowState(*settings);
        }
        WritePatternsBack(*frame);
    };
    m_frame->show();
    // The question about a crashed run's map comes with the window there to restore it into.
    m_frame->StartRecovery(CMainFrame::RecoveryFolder());
    m_frame->UpdateTitle();
    m_frame->UpdateCommandUI();
    return true;
}

std::string CZKApp::PatternFolder(const QString& stored) {
    // A folder the user chose, or ./brush/ where the program starts, is used as it always was.
    if (!stored.isEmpty())
        return stored.toStdString();
    if (QFileInfo(QStringLiteral("brush")).isDir())
        return {};
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        return {};
    const QString folder = data + QStringLiteral("/ZK/brush/");
    // A new user starts with the shipped set. Files already there are the user's own and stay;
    // one that is missing comes back, rather than a white fallback being written in its place.
    if (QDir().mkpath(folder))
        WriteShippedPatterns(folder.toStdString(), false);
    return folder.toStdString();
}

void CZKApp::StartLanguage(QSettings& settings) {
    SetLanguage(ChooseLanguage(StoredLanguage(settings), QLocale::system().uiLanguages()));
}

bool CZKApp::InfoOption(const QStringList& args, QString* text) {
    for (const QString& a : args) {
        if (a == QLatin1String("--version")) {
            *text = QStringLiteral("zk " ZK_VERSION "\n");
            return true;
        }
        if (a == QLatin1String("--help")) {
            *text = UsageText();
            return true;
        }
    }
    return false;
}

QString CZKApp::UsageText() {
    return QStringLiteral(
        "Usage: zk [FILE]\n"
        "       zk -p FILE\n"
        "       zk --export OUT [--grid N] FILE\n"
        "       zk --export OUT.pdf [--cell-mm MM] [--paper A4|A3|Letter|Legal] [--landscape]\n"
        "                           [--overlap N] [--grid N] FILE\n"
        "Paints grid-based maps, kept as .bmp or .png files.\n"
        "\n"
        "  FILE          the map to open (.bmp or .png); without it, a new white map\n"
        "  -p FILE       print the map on the default printer, then end\n"
        "  --export OUT  write the map to OUT, then end, with no window and no display\n"
        "                needed; OUT's extension says how: .png a picture, .bmp a map\n"
        "                file (at most 256 colours), .uvtt or .dd2vtt a Universal VTT\n"
        "                file for virtual tabletops, the grid laid over the map, .pdf\n"
        "                the map at true scale across pages (one grid step one cell)\n"
        "  --cell-mm MM  a cell on the PDF's paper, 1 to 500 mm (25.4 without it)\n"
        "  --paper P     the PDF's paper: A4 (without it), A3, Letter or Legal\n"
        "  --landscape   the PDF's pages across rather than upright\n"
        "  --overlap N   cells repeated on the next PDF page, 0 to 3\n"
        "  --grid N      the grid step for --export, 1 to 256 pixels; without it, the\n"
        "                step the program was last left with\n"
        "  --help        show this text and end\n"
        "  --version     show the version and end\n"
        "\n"
        "A command that cannot be done says why on stderr and ends with status 1;\n"
        "arguments that make no command end with status 2.\n");
}

namespace {

// The value of an option given as "--name VALUE" or "--name=VALUE" at args[i]; i moves past it.
// False when the option is not `name`; `value` is null when it has none.
bool OptionValue(const QStringList& args, qsizetype& i, QLatin1String name,
                 std::optional<QString>& value) {
    const QString& a = args[i];
    if (a == name) {
        value = i + 1 < args.size() ? std::optional<QString>(args[++i]) : std::nullopt;
        return true;
    }
    if (a.startsWith(name + QLatin1Char('='))) {
        value = a.mid(name.size() + 1);
        return true;
    }
    return false;
}

// Why a file of that name is not exported to.
QString UnknownExportName(const QString& name) {
    return QStringLiteral("cannot export to %1: the name must end in %2")
        .arg(name, ExportExtensions());
}

}  // namespace

CZKApp::CommandLine CZKApp::ParseCommandLine(const QStringList& args) {
    CommandLine line;
    // An export is told by its own rules from the start, also when an argument before it is
    // wrong: a script is told in one line.
    line.exporting = std::any_of(args.begin(), args.end(), [](const QString& a) {
        return a == QLatin1String("--export") || a.startsWith(QLatin1String("--export="));
    });
    QStringList files;
    std::optional<QString> grid;
    bool exportGiven = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        std::optional<QString> value;
        if (OptionValue(args, i, QLatin1String("--export"), value)) {
            if (exportGiven) {
                line.misuse = QStringLiteral("--export given twice");
                return line;
            }
            exportGiven = true;
            if (!value) {
                line.misuse = QStringLiteral("--export needs the file to write");
                return line;
            }
            line.exportTo = *value;
        } else if (OptionValue(args, i, QLatin1String("--grid"), value)) {
            if (grid) {
                line.misuse = QStringLiteral("--grid given twice");
                return line;
            }
            grid = value;
            if (!grid) {
                line.misuse = QStringLiteral("--grid needs its step in pixels");
                return line;
            }
        } else if (OptionValue(args, i, QLatin1String("--cell-mm"), value)) {
            bool ok = false;
            const double mm = value ? value->toDouble(&ok) : 0;
            if (!ok || !(mm >= 1 && mm <= 500)) {
                line.misuse = QStringLiteral("--cell-mm needs a cell size of 1 to 500 mm");
                return line;
            }
            line.pdf.options.cellMm = mm;
        } else if (OptionValue(args, i, QLatin1String("--paper"), value)) {
            const std::pair<const char*, QPageSize::PageSizeId> papers[] = {
                {"A4", QPageSize::A4},
                {"A3", QPageSize::A3},
                {"Letter", QPageSize::Letter},
                {"Legal", QPageSize::Legal}};
            bool known = false;
            for (const auto& [name, id] : papers)
                if (value && value->compare(QLatin1String(name), Qt::CaseInsensitive) == 0) {
                    line.pdf.page.setPageSize(QPageSize(id));
                    known = true;
                }
            if (!known) {
                line.misuse = QStringLiteral("--paper is A4, A3, Letter or Legal");
                return line;
            }
        } else if (a == QLatin1String("--landscape")) {
            line.pdf.page.setOrientation(QPageLayout::Landscape);
        } else if (OptionValue(args, i, QLatin1String("--overlap"), value)) {
            bool ok = false;
            const int n = value ? value->toInt(&ok) : -1;
            if (!ok || n < 0 || n > 3) {
                line.misuse = QStringLiteral("--overlap is 0 to 3 cells");
                return line;
            }
            line.pdf.options.overlapCells = n;
        } else if (a == QLatin1String("-p") || a == QLatin1String("/p")) {
            line.print = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("--version")) {
            // Answered by InfoOption before any start.
        } else if (a.startsWith(QLatin1Char('-'))) {
            // A mistyped option opened as a map would only fail later with a puzzling reason.
            line.misuse = QStringLiteral("unknown option %1").arg(a);
            return line;
        } else if (a.isEmpty()) {
            line.misuse = QStringLiteral("the map file's name is empty");
            return line;
        } else {
            files << a;
        }
    }
    if (files.size() > 1)
        line.misuse =
            QStringLiteral("more than one map file: %1").arg(files.join(QStringLiteral(", ")));
    else if (line.print && line.exporting)
        line.misuse = QStringLiteral("-p and --export cannot go together");
    else if (line.print && files.isEmpty())
        line.misuse = QStringLiteral("-p needs the map file to print");
    else if (grid && !line.exporting)
        line.misuse = QStringLiteral("--grid goes with --export");
    else if (line.exporting && files.isEmpty())
        line.misuse = QStringLiteral("--export needs the map to export");
    else if (line.exporting && !ExportFormatOfName(line.exportTo))
        line.misuse = UnknownExportName(line.exportTo);
    else if (!files.isEmpty())
        line.file = files.front();
    if (line.misuse.isEmpty() && grid) {
        bool ok = false;
        line.grid = grid->toInt(&ok);
        if (!ok || line.grid < 1 || line.grid > 256) {
            line.misuse =
                QStringLiteral("--grid needs a whole number of pixels from 1 to 256, not '%1'")
                    .arg(*grid);
            line.grid = 0;
        }
    }
    return line;
}

int CZKApp::RunExport(const CommandLine& line, QString* error) {
    if (!line.misuse.isEmpty()) {
        *error = line.misuse;
        return kMisuseStatus;
    }
    const ExportFormat* format = ExportFormatOfName(line.exportTo);
    if (!format) {  // ParseCommandLine refuses such a name; a caller's line may not have
        *error = UnknownExportName(line.exportTo);
        return kMisuseStatus;
    }
    int grid = line.grid;
    if (grid == 0) {
        const std::unique_ptr<QSettings> settings = OpenSettings();
        grid = StoredGrid(*settings);
    }
    gdi::Bitmap map;
    BitmapError why;
    if (!ReadMapFile(line.file.toStdString(), map, nullptr, &why)) {
        *error = QStringLiteral("cannot open %1: %2")
                     .arg(line.file, QString::fromStdString(why.message));
        return 1;
    }
    // Nobody is there to agree to lose colours: a bitmap file that cannot keep them is not
    // written.
    if (format->keeps256) {
        if (const quint32 colors = CountColors(map); colors > 256) {
            *error = QStringLiteral(
                         "cannot export to %1: the map has %2 colours and a .bmp file "
                         "keeps 256; export it as .png to keep them all")
                         .arg(line.exportTo)
                         .arg(colors);
            return 1;
        }
    }
    QString reason;
    // A PDF's pages carry text, which Qt draws only with an application of its own; one on the
    // offscreen platform needs no display.
    std::unique_ptr<QGuiApplication> gui;
    if (format->kind == ExportKind::Pdf && !QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "zk";
        static char* argv[] = {name, nullptr};
        gui = std::make_unique<QGuiApplication>(argc, argv);
    }
    if (!ExportMap(*format, map, grid, line.exportTo, &reason, line.pdf)) {
        *error = QStringLiteral("cannot export to %1: %2").arg(line.exportTo, reason);
        return 1;
    }
    return 0;
}

bool CZKApp::HasScreen() {
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

bool CZKApp::StartErrorGetsABox(const QStringList& args, bool onScreen) {
    return onScreen && !ParseCommandLine(args).EndsByItself();
}

void CZKApp::ShowStartError(const QString& text, const QStringList& args, bool onScreen) {
    if (text.isEmpty() || !StartErrorGetsABox(args, onScreen))
        return;
    QString shown = text;
    shown[0] = shown[0].toUpper();
    QMessageBox::critical(nullptr, QStringLiteral("ZK"), shown + QLatin1Char('.'));
}

bool CZKApp::PrintAndEnd(const QString& file) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        m_error = QStringLiteral("cannot print %1: no printer is set up").arg(file);
        return false;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    if (!CZKView::PrintMap(m_doc, printer)) {
        m_error = QStringLiteral("cannot print %1 on %2").arg(file, info.printerName());
        return false;
    }
    m_exitCode = 0;
    return false;
}

int CZKApp::ExitInstance() {
    const std::unique_ptr<QSettings> settings = OpenSettings();
    SaveToolSettings(*settings);
    // Written back as it was taken, so that a user finds the key to change.
    settings->setValue(QString::fromLatin1(kUndoLimitKey),
                       static_cast<qulonglong>(UndoLimitMiB(*settings)));
    m_recentFiles.Save(*settings);
    settings->sync();
    return 0;
}

}  // namespace zk
