// The help pages: found where the program looks for them, shipped up to date, and a
// self-contained Czech page and its English version that cover the tools and keys.
#include "app/help_page.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>

#include "res/menus.h"

namespace {

using zk::HelpPageToOpen;
using zk::ShippedHelpPage;
using zk::res::Accelerator;
using zk::res::FindMenuItem;
using zk::res::kAccelerators;
using zk::res::kToolPalette;
using zk::res::MenuEntry;

QString SourceHelpPage(const QString& name = QStringLiteral("index.html")) {
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../help/") + name);
}

// Each page with its language and how the menu table's texts read in it.
struct Page {
    const char* name;
    const char* lang;
    const char* translation;  // empty for the program's own language
};
const Page kPages[] = {{"index.html", "cs", ""}, {"index.en.html", "en", ":/i18n/zk_en.qm"}};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs with another current folder and goes back to the old one afterwards.
class CurrentFolder {
  public:
    explicit CurrentFolder(const QString& path) : m_old(QDir::currentPath()) {
        QDir::setCurrent(path);
    }
    ~CurrentFolder() { QDir::setCurrent(m_old); }

  private:
    QString m_old;
};

TEST(HelpPage, TheBuildTreeShipsAnUpToDateCopyOfEach) {
    for (const Page& p : kPages) {
        const QString shipped = ShippedHelpPage(QString::fromLatin1(p.lang));
        ASSERT_FALSE(shipped.isEmpty());
        EXPECT_TRUE(QFileInfo(shipped).isAbsolute());
        EXPECT_TRUE(shipped.endsWith(QStringLiteral("/help/") + p.name)) << shipped.toStdString();
        const QByteArray source = ReadAll(SourceHelpPage(QString::fromLatin1(p.name)));
        ASSERT_FALSE(source.isEmpty());
        EXPECT_EQ(ReadAll(shipped), source) << "the copy beside the build is stale: " << p.name;
    }
}

TEST(HelpPage, APageInTheCurrentFolderComesFirst) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("help")));
    QFile own(dir.filePath(QStringLiteral("help/index.html")));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.write("<p>own</p>");
    own.close();

    const CurrentFolder inside(dir.path());
    const QString page = HelpPageToOpen();
    EXPECT_EQ(QFileInfo(page).canonicalFilePath(), QFileInfo(own).canonicalFilePath());
    EXPECT_TRUE(QFileInfo(page).isAbsolute());
}

TEST(HelpPage, WithoutOneInTheCurrentFolderTheShippedPageOpens) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A folder named like the page is not the page.
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("help/index.html")));
    const CurrentFolder inside(dir.path());
    EXPECT_EQ(HelpPageToOpen(), ShippedHelpPage());
}

// F1 opens the page of the language spoken: the one in the current folder first, then the
// shipped one; where there is no page in that language, the Czech one.
TEST(HelpPage, ThePageOfTheLanguageSpokenOpens) {
    const struct {
        QStringList local;  // pages in ./help/
        const char* language;
        const char* opened;  // "local/NAME" or "shipped/NAME"
    } cases[] = {
        {{}, "cs", "shipped/index.html"},
        {{}, "en", "shipped/index.en.html"},
        {{"index.html"}, "en", "shipped/index.en.html"},
        {{"index.en.html"}, "en", "local/index.en.html"},
        {{"index.en.html"}, "cs", "shipped/index.html"},
        {{"index.html", "index.en.html"}, "cs", "local/index.html"},
        {{"index.html", "index.en.html"}, "en", "local/index.en.html"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("help")));
        for (const QString& name : c.local) {
            QFile own(dir.filePath(QStringLiteral("help/") + name));
            ASSERT_TRUE(own.open(QIODevice::WriteOnly));
        }
        const CurrentFolder inside(dir.path());
        const QString page = HelpPageToOpen(QString::fromLatin1(c.language));
        const QString where = QFileInfo(page).absolutePath() == QDir(dir.path()).filePath("help")
                                  ? QStringLiteral("local/")
                                  : QStringLiteral("shipped/");
        EXPECT_EQ(where + QFileInfo(page).fileName(), QString::fromLatin1(c.opened))
            << c.local.join(',').toStdString() << " " << c.language;
    }
}

// The page, read as XML: it must be well-formed so that every browser reads it alike.
struct PageFacts {
    QString error;
    QString lang;
    QString text;
    bool utf8 = false;
    QSet<QString> ids;
    QStringList links;
    QStringList resources;  // attributes that would load something from elsewhere
};

PageFacts ReadPage(const QByteArray& bytes) {
    PageFacts facts;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isCharacters())
            facts.text += xml.text();
        // Element edges separate words, as a browser's table cells and list items do.
        if (xml.isStartElement() || xml.isEndElement())
            facts.text += ' ';
        if (!xml.isStartElement())
            continue;
        const auto name = xml.name();
        const auto attributes = xml.attributes();
        if (name == QLatin1String("html"))
            facts.lang = attributes.value(QStringLiteral("lang")).toString();
        if (name == QLatin1String("meta") &&
            attributes.value(QStringLiteral("charset"))
                    .compare(QLatin1String("utf-8"), Qt::CaseInsensitive) == 0)
            facts.utf8 = true;
        if (attributes.hasAttribute(QStringLiteral("id")))
            facts.ids.insert(attributes.value(QStringLiteral("id")).toString());
        if (name == QLatin1String("a"))
            facts.links << attributes.value(QStringLiteral("href")).toString();
        for (const char* attribute : {"src", "srcset", "data", "poster"})
            if (attributes.hasAttribute(QLatin1String(attribute)))
                facts.resources << QString::fromLatin1(attribute);
        if (name == QLatin1String("link") || name == QLatin1String("script") ||
            name == QLatin1String("iframe") || name == QLatin1String("img"))
            facts.resources << name.toString();
    }
    if (xml.hasError())
        facts.error = QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
    return facts;
}

TEST(HelpPage, EachIsAWellFormedPageInItsLanguageWithoutOutsideResources) {
    for (const Page& p : kPages) {
        SCOPED_TRACE(p.name);
        const QByteArray bytes = ReadAll(SourceHelpPage(QString::fromLatin1(p.name)));
        ASSERT_FALSE(bytes.isEmpty());
        EXPECT_TRUE(bytes.startsWith("<!DOCTYPE html>"));
        EXPECT_TRUE(QString::fromUtf8(bytes).toUtf8() == bytes) << "not valid UTF-8";
        const PageFacts facts = ReadPage(bytes);
        ASSERT_EQ(facts.error.toStdString(), "");
        EXPECT_EQ(facts.lang, QString::fromLatin1(p.lang));
        EXPECT_TRUE(facts.utf8) << "no <meta charset=\"utf-8\" />";
        EXPECT_TRUE(facts.resources.isEmpty()) << facts.resources.join(' ').toStdString();
        EXPECT_FALSE(QString::fromUtf8(bytes).contains(QStringLiteral("url(")));
        for (const QString& link : facts.links) {
            ASSERT_TRUE(link.startsWith('#')) << "leaves the page: " << link.toStdString();
            EXPECT_TRUE(facts.ids.contains(link.mid(1))) << "no target for " << link.toStdString();
        }
    }
}

// Each tool by its name in the page's language, with its key beside it in the tool table.
TEST(HelpPage, EachCoversEveryToolAndKey) {
    for (const Page& p : kPages) {
        SCOPED_TRACE(p.name);
        const PageFacts facts = ReadPage(ReadAll(SourceHelpPage(QString::fromLatin1(p.name))));
        QTranslator translation;
        if (*p.translation) {
            ASSERT_TRUE(translation.load(QString::fromLatin1(p.translation)));
        }
        // Runs of white space (line breaks inside the text) count as one space.
        const QString text = facts.text.simplified();
        auto u = [](std::string_view s) {
            return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
        };
        auto name = [&](std::string_view s) {
            const QString own = translation.translate("Menu", s.data());
            return own.isEmpty() ? u(s) : own;
        };
        for (const Accelerator& a : kAccelerators)
            EXPECT_TRUE(text.contains(u(a.keys))) << a.keys;
        for (int id : kToolPalette) {
            const MenuEntry* tool = FindMenuItem(id);
            ASSERT_NE(tool, nullptr) << id;
            for (const Accelerator& a : kAccelerators)
                if (a.id == id) {
                    const QString row = name(tool->text) + QLatin1Char(' ') + u(a.keys);
                    EXPECT_TRUE(text.contains(row)) << row.toStdString();
                }
        }
        for (const char* file :
             {"brush0.bmp", "brush15.bmp", "symbol0.bmp", "symbol15.bmp", "brush/", ".bmp"})
            EXPECT_TRUE(text.contains(QString::fromUtf8(file))) << file;
        // The language menu is named as the menu names it.
        EXPECT_TRUE(text.contains(name("&Jazyk").remove('&'))) << "no word of the language menu";
    }
}

// The places the patterns are read from, in the order they are tried; a page must not go on
// naming one folder when the program looks in three.
TEST(HelpPage, EachNamesThePatternFoldersInTheOrderTheyAreTried) {
    for (const Page& p : kPages) {
        const QString text =
            ReadPage(ReadAll(SourceHelpPage(QString::fromLatin1(p.name)))).text.simplified();
        qsizetype from = 0;
        for (const char* place :
             {"[path]", "~/.config/ZK/ZK.conf", "./brush/", "~/.local/share/ZK/brush/"}) {
            const qsizetype at = text.indexOf(QString::fromUtf8(place), from);
            EXPECT_GE(at, 0) << p.name << ": " << place
                             << " not named, or not after the place before it";
            if (at >= 0)
                from = at;
        }
    }
}

// The desktop entry says what the About box says, in English and in Czech beside it.
TEST(DesktopEntry, SaysWhatTheProgramSaysInBothLanguages) {
    QFile file(QFileInfo(QStringLiteral(__FILE__)).dir().filePath("../../res/zk.desktop"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QMap<QString, QString> keys;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n'))
        if (const qsizetype eq = line.indexOf('='); eq > 0)
            keys[line.left(eq)] = line.mid(eq + 1);
    QTranslator english;
    ASSERT_TRUE(english.load(QStringLiteral(":/i18n/zk_en.qm")));
    const char* tagline = "Malování map na mřížce";
    EXPECT_EQ(keys.value("Comment[cs]"), QString::fromUtf8(tagline));
    EXPECT_EQ(keys.value("Comment"), english.translate("zk::CAboutDlg", tagline));
    for (const char* key : {"Name", "GenericName", "GenericName[cs]", "Keywords", "Keywords[cs]"})
        EXPECT_FALSE(keys.value(QString::fromLatin1(key)).isEmpty()) << key;
}

}  // namespace
