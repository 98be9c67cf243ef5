// The undo figures, printed by zk_bench's main() after the runs.
#pragma once

#include <map>
#include <string>

namespace zk_bench {

// `seconds` holds each benchmark's time per iteration, by name, in the benchmark's own unit.
void PrintUndoFigures(const std::map<std::string, double>& seconds);

}  // namespace zk_bench
