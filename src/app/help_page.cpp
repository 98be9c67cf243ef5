#include "app/help_page.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace zk {

namespace {

QString ExistingPage(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() ? QDir::cleanPath(info.absoluteFilePath()) : QString();
}

// The shipped page of that name; empty when there is none.
QString ShippedPageNamed(const QString& name) {
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString candidates[] = {
        programDir.filePath(QStringLiteral("../share/zk/help/") + name),
        programDir.filePath(QStringLiteral("help/") + name),
        QFileInfo(QStringLiteral(ZK_BUILD_HELP_PAGE)).dir().filePath(name),
    };
    for (const QString& candidate : candidates) {
        const QString page = ExistingPage(candidate);
        if (!page.isEmpty())
            return page;
    }
    return {};
}

}  // namespace

QString HelpPageName(const QString& language) {
    return language == QLatin1String("en") ? QStringLiteral("index.en.html")
                                           : QStringLiteral("index.html");
}

QString ShippedHelpPage(const QString& language) {
    const QString page = ShippedPageNamed(HelpPageName(language));
    return page.isEmpty() ? ShippedPageNamed(HelpPageName({})) : page;
}

QString HelpPageToOpen(const QString& language) {
    // The page in the language spoken, from the current folder before the shipped one; then the
    // Czech page in the same order.
    for (const QString& name : {HelpPageName(language), HelpPageName({})}) {
        const QString local =
            ExistingPage(QDir::current().filePath(QStringLiteral("help/") + name));
        if (!local.isEmpty())
            return local;
        const QString shipped = ShippedPageNamed(name);
        if (!shipped.isEmpty())
            return shipped;
    }
    return {};
}

}  // namespace zk
