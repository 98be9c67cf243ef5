// Where the help page is: the program looks for help/index.html in the folder it was started in,
// as it always has, and falls back to the copy shipped with it. The English page is
// help/index.en.html, looked for in the same places; where there is none, the Czech one opens.
#pragma once

#include <QString>

namespace zk {

// The absolute path of the help page in `language` shipped with the program: installed beside it
// (<program folder>/../share/zk/help/index.html), or in the build tree
// (<program folder>/help/index.html, then <build folder>/help/index.html), whichever exists
// first; the Czech page when there is none in `language`. Empty when there is neither.
QString ShippedHelpPage(const QString& language = QStringLiteral("cs"));

// The page F1 opens for `language`: help/<its page> under the current folder, else the shipped
// one; when neither exists, the Czech page found the same way. Empty when there is none.
QString HelpPageToOpen(const QString& language = QStringLiteral("cs"));

// The page's file name for a language: "index.html" for Czech, "index.en.html" for English.
QString HelpPageName(const QString& language);

}  // namespace zk
