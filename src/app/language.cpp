#include "app/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

namespace zk {

namespace {

bool Known(const QString& language) {
    return language == QLatin1String(kCzech) || language == QLatin1String(kEnglish);
}

// Owned by the application object, so that none outlives it.
struct Translators {
    QPointer<QTranslator> own, qt;
    QString language = QString::fromLatin1(kCzech);
};

Translators& Installed() {
    static Translators t;
    return t;
}

// A translator for `file`, installed; null when it cannot be loaded.
QTranslator* Install(const QString& file, const QString& folder) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(file, folder)) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

}  // namespace

QString ChooseLanguage(const QString& setting, const QStringList& uiLanguages) {
    if (Known(setting))
        return setting;
    for (const QString& name : uiLanguages) {
        if (name == QLatin1String("C") || name == QLatin1String("POSIX"))
            return QString::fromLatin1(kCzech);
        const QString language =
            name.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
        if (Known(language))
            return language;
    }
    return QString::fromLatin1(kCzech);
}

QString StoredLanguage(QSettings& settings) {
    const QString stored = settings.value(QString::fromLatin1(kLanguageKey)).toString();
    return Known(stored) ? stored : QString();
}

void StoreLanguage(QSettings& settings, const QString& choice) {
    settings.setValue(QString::fromLatin1(kLanguageKey), Known(choice) ? choice : QString());
}

bool SetLanguage(const QString& language) {
    Translators& t = Installed();
    const bool known = Known(language);
    const QString chosen = known ? language : QString::fromLatin1(kCzech);
    // Removing a translator tells every window as well; the new ones then tell them again.
    delete t.own;
    delete t.qt;
    // Czech is the source; its file holds only the forms that follow a number.
    t.own = Install(QStringLiteral("zk_") + chosen, QStringLiteral(":/i18n"));
    t.qt = Install(QStringLiteral("qtbase_") + chosen,
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    QLocale::setDefault(QLocale(chosen));
    t.language = chosen;
    // The windows take their new texts now, not at the event loop's next turn.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    return known;
}

QString CurrentLanguage() {
    return Installed().language;
}

}  // namespace zk
