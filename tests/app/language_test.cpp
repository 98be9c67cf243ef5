// The language the program speaks: chosen from the desktop's languages and the setting, switched
// from the Settings menu at once, and the same in every text: menus, bars, messages, Qt's own.
#include "app/language.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLibraryInfo>
#include <QMenuBar>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTranslator>
#include <QXmlStreamReader>

#include "app/main_frame.h"
#include "res/menus.h"
#include "res/resource.h"
#include "res/strings.h"
#include "support/frame_harness.h"
#include "ui/reasons.h"

namespace {

using namespace zk::res;

QString U(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// Speaks `language` for the test's length, then Czech again, as the other tests expect.
class Speaking {
  public:
    explicit Speaking(const char* language) { zk::SetLanguage(QString::fromLatin1(language)); }
    ~Speaking() { zk::SetLanguage(QString::fromLatin1(zk::kCzech)); }
};

TEST(Language, ChosenFromTheSettingElseTheFirstDesktopLanguageTheProgramHas) {
    const struct {
        const char* setting;
        QStringList desktop;
        const char* spoken;
    } cases[] = {
        {"", {"en-US", "en-Latn-US", "en"}, "en"},
        {"", {"cs-CZ", "cs"}, "cs"},
        {"", {"C"}, "cs"},
        {"", {"POSIX"}, "cs"},
        {"", {}, "cs"},
        {"", {"de-DE", "de"}, "cs"},
        {"", {"de", "en-GB"}, "en"},
        {"", {"de", "C", "en"}, "cs"},
        {"", {"EN_us"}, "en"},
        {"cs", {"en-US"}, "cs"},
        {"en", {"cs-CZ"}, "en"},
        {"en", {"C"}, "en"},
        {"de", {"en-US"}, "en"},
        {"garbage", {"C"}, "cs"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(zk::ChooseLanguage(QString::fromLatin1(c.setting), c.desktop),
                  QString::fromLatin1(c.spoken))
            << c.setting << " / " << c.desktop.join(',').toStdString();
}

// Every text of the menu table, the string table and the bars has its English translation in the
// file built into the program, and keeps what must not change.
TEST(Language, EveryTextOfTheTablesHasItsEnglish) {
    QTranslator english;
    ASSERT_TRUE(english.load(QStringLiteral(":/i18n/zk_en.qm")));
    auto translated = [&](const char* context, std::string_view text) {
        return english.translate(context, QString(U(text)).toUtf8().constData());
    };
    for (const MenuEntry& e : kMainMenu) {
        if (e.kind != MenuEntryKind::Item && e.kind != MenuEntryKind::Submenu)
            continue;
        const QString en = translated("Menu", e.text);
        EXPECT_FALSE(en.isEmpty()) << "no English for " << e.text;
        // A mnemonic the Czech item has, the English one has too.
        if (e.text.find('&') != std::string_view::npos) {
            EXPECT_TRUE(en.contains(QLatin1Char('&'))) << e.text;
        }
    }
    for (std::string_view t :
         {kMainToolBarTitle, kToolPaletteTitle, kSizeBarTitle, kPatternBarTitle, kIdleMessage,
          kBmpFilter, kPngFilter, kMapFilesFilter, kPngExportFilter, kPdfExportFilter}) {
        const QString en = translated("Menu", t);
        EXPECT_FALSE(en.isEmpty()) << "no English for " << t;
        EXPECT_FALSE(en.contains(QLatin1Char('&'))) << "a caption shows no mnemonic: " << t;
    }
    // A filter keeps its patterns, which the file dialog reads.
    for (std::string_view f : {kBmpFilter, kPngFilter, kMapFilesFilter, kPdfExportFilter}) {
        const QString cs = U(f);
        EXPECT_EQ(translated("Menu", f).section(QLatin1Char('('), 1), cs.section('(', 1)) << f;
    }
    for (const CommandString& s : kCommandStrings) {
        const QString en = translated("Commands", s.text);
        EXPECT_EQ(en.count(QLatin1Char('\n')), 1) << "prompt and tool tip, for " << s.id;
    }
}

// The menus the actions open, and the menus those open, in order.
QList<QMenu*> MenusOf(const QList<QAction*>& actions) {
    QList<QMenu*> menus;
    for (QAction* a : actions)
        if (QMenu* m = a->menu()) {
            menus << m;
            menus << MenusOf(m->actions());
        }
    return menus;
}

// The English menus as the real window builds them: every entry translated, no two entries of a
// menu on the same mnemonic, and each shortcut label as it is in Czech.
TEST(Language, TheEnglishMenusKeepTheirKeys) {
    QList<QStringList> labels[2];  // each menu's shortcut labels, the menus in order
    for (int pass = 0; pass < 2; ++pass) {
        const Speaking speaking(pass == 0 ? zk::kCzech : zk::kEnglish);
        zk_test::FrameHarness f;
        ASSERT_TRUE(f.ok);
        for (QMenu* menu : MenusOf(f.frame()->menuBar()->actions())) {
            QSet<QChar> mnemonics;
            labels[pass].append(QStringList());
            for (QAction* a : menu->actions()) {
                if (a->isSeparator() || !a->isVisible())
                    continue;
                const QString text = a->text().section(QLatin1Char('\t'), 0, 0);
                const qsizetype amp = text.indexOf(QLatin1Char('&'));
                if (amp >= 0 && pass == 1) {
                    EXPECT_FALSE(mnemonics.contains(text[amp + 1].toLower()))
                        << "two items on &" << text[amp + 1].toLatin1() << " in "
                        << menu->title().toStdString();
                }
                if (amp >= 0)
                    mnemonics.insert(text[amp + 1].toLower());
                labels[pass].back() << a->text().section(QLatin1Char('\t'), 1);
            }
        }
        if (pass == 1) {
            QStringList titles;
            for (QAction* a : f.frame()->menuBar()->actions())
                titles << a->text();
            EXPECT_EQ(titles.join(' '), QStringLiteral("&File &Edit &View &Tools &Settings &Help"));
        }
    }
    EXPECT_EQ(labels[0], labels[1]) << "the shortcut labels changed";
}

// The translation files hold a finished translation of every text the code has, and nothing the
// code no longer has: Qt's lupdate, run over the sources on copies of them, finds nothing to add
// or take away.
TEST(Language, TheTranslationFilesAreUpToDateWithTheCode) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"zk_en.ts", "zk_cs.ts"}) {
        const QString source = QStringLiteral(ZK_SOURCE_DIR "/res/translations/") + name;
        const QString copy = dir.filePath(QString::fromLatin1(name));
        ASSERT_TRUE(QFile::copy(source, copy)) << source.toStdString();
        QProcess lupdate;
        QStringList args{QStringLiteral("-locations"),
                         QStringLiteral("none"),
                         QStringLiteral(ZK_SOURCE_DIR "/src"),
                         QStringLiteral(ZK_SOURCE_DIR "/res"),
                         QStringLiteral("-ts"),
                         copy};
        if (QLatin1String(name) == QLatin1String("zk_cs.ts"))
            args.prepend(QStringLiteral("-pluralonly"));
        lupdate.start(QStringLiteral(ZK_LUPDATE), args);
        ASSERT_TRUE(lupdate.waitForFinished(120000));
        ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();

        QFile file(copy);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QString context, text;
        int messages = 0;
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("name"))
                context = xml.readElementText();
            else if (xml.name() == QLatin1String("message"))
                ++messages;
            else if (xml.name() == QLatin1String("source"))
                text = xml.readElementText();
            else if (xml.name() == QLatin1String("translation")) {
                const QString type = xml.attributes().value(QStringLiteral("type")).toString();
                EXPECT_TRUE(type.isEmpty())
                    << name << ": " << context.toStdString() << " \"" << text.toStdString()
                    << "\" is " << type.toStdString()
                    << " (build the target zk_update_translations and translate what it adds)";
            }
        }
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        EXPECT_GT(messages, 0) << name;
    }
}

// The reasons the lower layers give, numbers and all, in the language spoken; what the program
// does not know (a system's message) stays as it was.
TEST(Language, ReasonsFollowTheLanguage) {
    const struct {
        std::string why;
        const char* cs;
    } cases[] = {
        {"file is truncated (header)", "soubor je zkrácený (hlavička)"},
        {"cannot open file: No such file or directory",
         "soubor nelze otevřít: No such file or directory"},
        {"the map must be at least 1 x 1 pixel (asked for 0 x -5)",
         "mapa musí mít aspoň 1 × 1 bod (požadováno 0 × -5)"},
        {"the store's map size is wrong: the map must be at least 1 x 1 pixel (asked for 3 x 0)",
         "záznam má chybnou velikost mapy: mapa musí mít aspoň 1 × 1 bod (požadováno 3 × 0)"},
        {"bad header: height 0", "chybná hlavička: výška 0"},
        {"something new", "something new"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(zk::TranslatedReason(c.why), QString::fromUtf8(c.cs)) << c.why;
    const Speaking english(zk::kEnglish);
    for (const auto& c : cases)
        EXPECT_EQ(zk::TranslatedReason(c.why), QString::fromStdString(c.why));
}

// Through the real window: switching in the Settings menu takes effect at once, in the menus,
// the bars, the title and the status bar, is stored, and the messages follow.
TEST(Language, TheSettingsMenuSwitchesTheWholeWindowAtOnce) {
    zk_test::FrameHarness f;
    ASSERT_TRUE(f.ok);
    zk::CMainFrame* frame = f.frame();
    const auto firstMenu = [&] { return frame->menuBar()->actions().first()->text(); };
    auto stored = [] {
        return zk::CZKApp::OpenSettings()->value(QString::fromLatin1(zk::kLanguageKey));
    };
    EXPECT_EQ(firstMenu(), QStringLiteral("&Soubor"));
    EXPECT_TRUE(f.action(ID_LANGUAGE_DESKTOP)->isChecked());

    frame->OnCommand(ID_LANGUAGE_ENGLISH);
    EXPECT_EQ(zk::CurrentLanguage(), QStringLiteral("en"));
    EXPECT_EQ(stored().toString(), QStringLiteral("en"));
    EXPECT_TRUE(f.action(ID_LANGUAGE_ENGLISH)->isChecked());
    EXPECT_FALSE(f.action(ID_LANGUAGE_DESKTOP)->isChecked());
    EXPECT_EQ(firstMenu(), QStringLiteral("&File"));
    EXPECT_EQ(f.action(ID_FILE_SAVE_AS)->text(), QStringLiteral("Save &As..."));
    EXPECT_EQ(f.action(ID_FILE_NEW)->text(), QStringLiteral("&New\tCtrl+N"));
    EXPECT_EQ(f.action(ID_FILE_NEW)->toolTip(), QStringLiteral("New Map"));
    EXPECT_EQ(f.action(ID_FILE_NEW)->statusTip(), QStringLiteral("Makes a new map"));
    EXPECT_EQ(frame->m_wndToolsBar->windowTitle(), QStringLiteral("Tool Palette"));
    EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("Ready"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Untitled[*] - ZK"));
    EXPECT_EQ(zk::CMainFrame::ZoomText(0.125f), QStringLiteral("12.5 %"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));

    // A message, its reason and the save question, in English.
    EXPECT_FALSE(frame->OpenDocumentFile(QStringLiteral("/nonexistent/map.bmp")));
    ASSERT_EQ(f.prompts->errors.size(), 1);
    EXPECT_TRUE(f.prompts->errors[0].startsWith(
        QStringLiteral("The map could not be opened from /nonexistent/map.bmp.\ncannot open file")))
        << f.prompts->errors[0].toStdString();

    frame->OnCommand(ID_LANGUAGE_CZECH);
    EXPECT_EQ(stored().toString(), QStringLiteral("cs"));
    EXPECT_EQ(firstMenu(), QStringLiteral("&Soubor"));
    EXPECT_EQ(f.action(ID_FILE_NEW)->toolTip(), QString::fromUtf8("Nová mapa"));
    EXPECT_EQ(frame->windowTitle(), QString::fromUtf8("Bez názvu[*] - ZK"));
    EXPECT_EQ(frame->statusBar()->currentMessage(), QString::fromUtf8("Připraven"));
    EXPECT_EQ(zk::CMainFrame::ZoomText(0.125f), QStringLiteral("12,5 %"));
    // Qt's own buttons too, whatever the system's locale is.
    if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                      QStringLiteral("/qtbase_cs.qm"))) {
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                  QString::fromUtf8("Zrušit"));
    }
    EXPECT_FALSE(frame->OpenDocumentFile(QStringLiteral("/nonexistent/map.bmp")));
    ASSERT_EQ(f.prompts->errors.size(), 2);
    EXPECT_TRUE(f.prompts->errors[1].startsWith(
        QString::fromUtf8("Mapu nelze otevřít ze souboru /nonexistent/map.bmp.\nsoubor nelze")))
        << f.prompts->errors[1].toStdString();

    frame->OnCommand(ID_LANGUAGE_DESKTOP);
    EXPECT_EQ(stored().toString(), QString());
    EXPECT_TRUE(f.action(ID_LANGUAGE_DESKTOP)->isChecked());
    EXPECT_EQ(zk::CurrentLanguage(),
              zk::ChooseLanguage(QString(), QLocale::system().uiLanguages()));
    zk::SetLanguage(QString::fromLatin1(zk::kCzech));
}

// The start speaks the stored choice when it is one the program knows, else the desktop's
// language; the forms that follow a number follow it too.
TEST(Language, TheStartSpeaksAKnownStoredChoiceElseTheDesktops) {
    const Speaking czech(zk::kCzech);
    const QString desktop = zk::ChooseLanguage(QString(), QLocale::system().uiLanguages());
    auto settings = zk::CZKApp::OpenSettings();
    for (const auto& [stored, spoken] :
         std::vector<std::pair<QVariant, QString>>{{QStringLiteral("en"), QStringLiteral("en")},
                                                   {QStringLiteral("cs"), QStringLiteral("cs")},
                                                   {QStringLiteral("fr"), desktop},
                                                   {42, desktop},
                                                   {QVariant(), desktop}}) {
        settings->setValue(QString::fromLatin1(zk::kLanguageKey), stored);
        zk::CZKApp::StartLanguage(*settings);
        EXPECT_EQ(zk::CurrentLanguage(), spoken) << stored.toString().toStdString();
    }
    // What the program does not know is not stored either.
    zk::StoreLanguage(*settings, QStringLiteral("xx"));
    EXPECT_EQ(settings->value(QString::fromLatin1(zk::kLanguageKey)).toString(), QString());

    const auto cells = [](int n) {
        return QCoreApplication::translate("zk::CScaledPrintDlg", "buněk", "after the overlap", n);
    };
    zk::SetLanguage(QString::fromLatin1(zk::kEnglish));
    EXPECT_EQ(cells(1) + cells(3), QStringLiteral("cellcells"));
    zk::SetLanguage(QString::fromLatin1(zk::kCzech));
    const char* forms[] = {"buněk", "buňka", "buňky", "buňky", "buňky", "buněk"};
    for (int n = 0; n < 6; ++n)
        EXPECT_EQ(cells(n), QString::fromUtf8(forms[n])) << n;
    settings->remove(QString::fromLatin1(zk::kLanguageKey));
}

}  // namespace
