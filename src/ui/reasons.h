// Why something could not be done, as the lower layers say it (in English, their own words), in
// the language the program speaks.
#pragma once

#include <QString>
#include <string>

namespace zk {

// `why` in the language the program speaks: each part of it between ": " that the program knows,
// numbers included ("asked for 0 x 5"), translated; a part it does not know (a system's message,
// a path) as it is.
QString TranslatedReason(const std::string& why);

}  // namespace zk
