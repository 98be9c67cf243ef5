// The figures each group of benchmarks prints after the runs, from zk_bench's main().
#pragma once

#include <map>
#include <string>

namespace zk_bench {

// `seconds` holds each benchmark's time per iteration, by name, in the benchmark's own unit.
void PrintUndoFigures(const std::map<std::string, double>& seconds);
void PrintRecoveryFigures(const std::map<std::string, double>& seconds);
void PrintPaintFigures(const std::map<std::string, double>& seconds);
void PrintMapFileFigures(const std::map<std::string, double>& seconds);

}  // namespace zk_bench
