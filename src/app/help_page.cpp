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

}  // namespace

QString HelpPageName(const QString& language) {
    return language == QLatin1String("en") ? QStringLiteral("index.en.html")
                                           : QStringLiteral("index.html");
}

QString ShippedHelpPage(const QString& language) {
    const QString name = HelpPageName(language);
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
    return name == HelpPageName({}) ? QString() : ShippedHelpPage({});
}

QString HelpPageToOpen(const QString& language) {
    for (const QString& name : {HelpPageName(language), HelpPageName({})}) {
        const QString local =
            ExistingPage(QDir::current().filePath(QStringLiteral("help/") + name));
        if (!local.isEmpty())
            return local;
        const QString shipped = ShippedHelpPage(language);
        if (!shipped.isEmpty() && QFileInfo(shipped).fileName() == name)
            return shipped;
    }
    return ShippedHelpPage(language);
}

}  // namespace zk
