// Where the help page is: the program looks for help/index.html in the folder it was started in,
// as it always has, and falls back to the copy shipped with it. The English page is
// help/index.en.html, looked for in the same places; where there is none, the Czech one opens.
#pragma once

#include <QString>

namespace zk {

// The absolute path of the help page shipped with the program: installed beside it
// (<program folder>/../share/zk/help/index.html), or in the build tree
// (<program folder>/help/index.html, then <build folder>/help/index.html), whichever exists
// first. Empty when there is none.
QString ShippedHelpPage(const QString& language = QStringLiteral("cs"));

// The absolute path of help/index.html under the current folder when that file exists, otherwise
// ShippedHelpPage().
QString HelpPageToOpen(const QString& language = QStringLiteral("cs"));

// The page's file name for a language: "index.html" for Czech, "index.en.html" for English.
QString HelpPageName(const QString& language);

}  // namespace zk
