// Integer fields of the dialogs, read by the stock rule of the platform's dialogs.
#pragma once

#include <optional>
#include <string_view>

namespace zk {

// Blanks and tabs around the number are allowed; the text must be a decimal integer with an
// optional sign and nothing else. An empty field, or one that reads as 0 without starting with
// the digit 0, is refused, and so is a value outside 32 bits.
std::optional<int> ParseDialogInt(std::string_view text);

}  // namespace zk
