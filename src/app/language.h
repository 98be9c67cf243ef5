// The language the program speaks: Czech, its own, or English from the translation shipped inside
// the program, chosen from the desktop's languages unless the user has picked one.
#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

namespace zk {

inline constexpr const char* kCzech = "cs";
inline constexpr const char* kEnglish = "en";
// The user's choice in the settings store: "cs", "en", or empty for the desktop's language.
inline constexpr const char* kLanguageKey = "set/language";

// The language to speak for the stored choice `setting` and the desktop's user-interface
// languages (QLocale::uiLanguages(), most wanted first, "en-US" or "cs"): the choice when it is
// "cs" or "en", otherwise the first desktop language the program has. Czech when none of them is,
// and for the C or POSIX locale, which names no language at all.
QString ChooseLanguage(const QString& setting, const QStringList& uiLanguages);

// The stored choice, "" when there is none or it is not one the program knows.
QString StoredLanguage(QSettings& settings);
void StoreLanguage(QSettings& settings, const QString& choice);

// Puts the program's texts and Qt's own (its dialogs and buttons) in `language`, whatever the
// system locale says, replacing the language set before; numbers follow it too. Every window is
// told (a LanguageChange event) and redraws its texts. False, with the program left in Czech,
// when `language` is not one the program has.
bool SetLanguage(const QString& language);
// The language set last; Czech before any is set.
QString CurrentLanguage();

}  // namespace zk
