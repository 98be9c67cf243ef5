// The help page: found where the program looks for it, shipped up to date, and a self-contained
// Czech page that covers the tools and keys.
#include "app/help_page.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
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

QString SourceHelpPage() {
    return QFileInfo(QStringLiteral(__FILE__))
        .dir()
        .filePath(QStringLiteral("../../help/index.html"));
}

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

TEST(HelpPage, TheBuildTreeShipsAnUpToDateCopy) {
    const QString shipped = ShippedHelpPage();
    ASSERT_FALSE(shipped.isEmpty());
    EXPECT_TRUE(QFileInfo(shipped).isAbsolute());
    EXPECT_TRUE(shipped.endsWith(QStringLiteral("/help/index.html"))) << shipped.toStdString();
    const QByteArray source = ReadAll(SourceHelpPage());
    ASSERT_FALSE(source.isEmpty());
    EXPECT_EQ(ReadAll(shipped), source) << "the copy beside the build is stale";
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

TEST(HelpPage, IsAWellFormedCzechPageWithoutOutsideResources) {
    const QByteArray bytes = ReadAll(SourceHelpPage());
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_TRUE(bytes.startsWith("<!DOCTYPE html>"));
    EXPECT_TRUE(QString::fromUtf8(bytes).toUtf8() == bytes) << "not valid UTF-8";
    const PageFacts facts = ReadPage(bytes);
    ASSERT_EQ(facts.error.toStdString(), "");
    EXPECT_EQ(facts.lang, QStringLiteral("cs"));
    EXPECT_TRUE(facts.utf8) << "no <meta charset=\"utf-8\" />";
    EXPECT_TRUE(facts.resources.isEmpty()) << facts.resources.join(' ').toStdString();
    EXPECT_FALSE(QString::fromUtf8(bytes).contains(QStringLiteral("url(")));
    for (const QString& link : facts.links) {
        ASSERT_TRUE(link.startsWith('#')) << "leaves the page: " << link.toStdString();
        EXPECT_TRUE(facts.ids.contains(link.mid(1))) << "no target for " << link.toStdString();
    }
}

TEST(HelpPage, CoversEveryToolAndKey) {
    const PageFacts facts = ReadPage(ReadAll(SourceHelpPage()));
    // Runs of white space (line breaks inside the text) count as one space.
    const QString text = facts.text.simplified();
    auto u = [](std::string_view s) {
        return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
    };
    for (const Accelerator& a : kAccelerators)
        EXPECT_TRUE(text.contains(u(a.keys))) << a.keys;
    // Each tool in the tool palette's order, with its key beside it in the tool table.
    for (int id : kToolPalette) {
        const MenuEntry* tool = FindMenuItem(id);
        ASSERT_NE(tool, nullptr) << id;
        for (const Accelerator& a : kAccelerators)
            if (a.id == id) {
                const QString row = u(tool->text) + QLatin1Char(' ') + u(a.keys);
                EXPECT_TRUE(text.contains(row)) << row.toStdString();
            }
    }
    for (const char* file :
         {"brush0.bmp", "brush15.bmp", "symbol0.bmp", "symbol15.bmp", "brush/", ".bmp"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(file))) << file;
}

// The places the patterns are read from, in the order they are tried; the page must not go on
// naming one folder when the program looks in three.
TEST(HelpPage, NamesThePatternFoldersInTheOrderTheyAreTried) {
    const QString text = ReadPage(ReadAll(SourceHelpPage())).text.simplified();
    qsizetype from = 0;
    for (const char* place :
         {"[path]", "~/.config/ZK/ZK.conf", "./brush/", "~/.local/share/ZK/brush/"}) {
        const qsizetype at = text.indexOf(QString::fromUtf8(place), from);
        EXPECT_GE(at, 0) << place << " not named, or not after the place before it";
        if (at >= 0)
            from = at;
    }
}

}  // namespace
