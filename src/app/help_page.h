// Where the help page is: the program looks for help/index.html in the folder it was started in,
// as it always has, and falls back to the copy shipped with it.
#pragma once

#include <QString>

namespace zk {

// The absolute path of the help page shipped with the program: installed beside it
// (<program folder>/../share/zk/help/index.html), or in the build tree
// (<program folder>/help/index.html, then <build folder>/help/index.html), whichever exists
// first. Empty when there is none.
QString ShippedHelpPage();

// The absolute path of help/index.html under the current folder when that file exists, otherwise
// ShippedHelpPage().
QString HelpPageToOpen();

}  // namespace zk
