// Reading and writing a 16384 x 16384 map as an 8-bit bitmap file (256 MiB of file, 1 GiB of
// pixels), beside allocating a map of that size through the same pixel allocator and filling it
// once, in the same run; and how far the process's peak resident memory rises past the map's
// own pixels while each of them runs. The ratios are printed at the end with the other figures.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench_figures.h"
#include "bench_map.h"
#include "doc/bitmap_file.h"
#include "gdi/bitmap.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSide = 16384;
constexpr double kMapBytes = double{kSide} * kSide * 4;
constexpr double kMiB = 1024.0 * 1024.0;

// "VmRSS" or "VmHWM" of this process, in bytes.
double StatusBytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == std::string(field) + ":") {
            double kib = 0;
            status >> kib;
            return kib * 1024;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

// Starts the peak resident size afresh from the present one (Linux: "5" to clear_refs).
void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

struct Fixture {
    zk_bench::TempDir dir{"zk_map_bench"};
    fs::path file;
    gdi::Bitmap map;

    Fixture() {
        file = dir.Path() / "map.bmp";
        // White with a black grid every 16 pixels and some grey cells: three table colours.
        map = gdi::Bitmap(kSide, kSide, 32, gdi::kWhite);
        for (int y = 0; y < kSide; ++y) {
            gdi::Color* row = map.Row(y);
            for (int x = 0; x < kSide; ++x)
                if (x % 16 == 0 || y % 16 == 0)
                    row[x] = gdi::kBlack;
                else if ((x / 512 + y / 512) % 7 == 0)
                    row[x] = 0x808080;
        }
        zk::BitmapError error;
        if (!zk::WriteBitmapFile(file, map, &error)) {
            std::fprintf(stderr, "cannot write %s: %s\n", file.c_str(), error.message.c_str());
            std::abort();
        }
    }
};

Fixture& Get() {
    static Fixture f;
    return f;
}

// The peak resident memory an operation adds beyond `expected` bytes it must hold.
template <class Op>
double PeakBeyond(double expected, Op&& op) {
    ResetPeak();
    const double before = StatusBytes("VmRSS");
    op();
    return StatusBytes("VmHWM") - before - expected;
}

void BM_MapFile_AllocateAndFill(benchmark::State& state) {
    Get();
    double beyond = 0;
    for (auto _ : state) {
        beyond = PeakBeyond(kMapBytes, [] {
            gdi::Bitmap bmp(kSide, kSide, 32, gdi::kWhite);
            benchmark::DoNotOptimize(bmp.Data());
        });
    }
    state.counters["peak_beyond_map_mib"] = beyond / kMiB;
}
BENCHMARK(BM_MapFile_AllocateAndFill)->Unit(benchmark::kMillisecond);

void BM_MapFile_Read(benchmark::State& state) {
    Fixture& f = Get();
    double beyond = 0;
    for (auto _ : state) {
        beyond = PeakBeyond(kMapBytes, [&f, &state] {
            gdi::Bitmap bmp;
            if (!zk::ReadBitmapFile(f.file, bmp))
                state.SkipWithError("read failed");
            benchmark::DoNotOptimize(bmp.Data());
        });
    }
    state.counters["peak_beyond_map_mib"] = beyond / kMiB;
}
BENCHMARK(BM_MapFile_Read)->Unit(benchmark::kMillisecond);

// Into the page cache and on to the disk: the figure in real time counts the wait for the disk,
// the one in CPU time what the writer itself does.
void BM_MapFile_Write(benchmark::State& state) {
    Fixture& f = Get();
    const fs::path out = f.dir.Path() / "written.bmp";
    double beyond = 0;
    for (auto _ : state) {
        beyond = PeakBeyond(0, [&] {
            if (!zk::WriteBitmapFile(out, f.map))
                state.SkipWithError("write failed");
        });
    }
    state.counters["peak_beyond_map_mib"] = beyond / kMiB;
}
BENCHMARK(BM_MapFile_Write)->Unit(benchmark::kMillisecond);

}  // namespace

namespace zk_bench {

void PrintMapFileFigures(const std::map<std::string, double>& seconds) {
    const auto base = seconds.find("BM_MapFile_AllocateAndFill");
    if (base == seconds.end() || base->second <= 0)
        return;
    for (const char* name : {"BM_MapFile_Read", "BM_MapFile_Write"}) {
        const auto it = seconds.find(name);
        if (it == seconds.end())
            continue;
        char what[96];
        std::snprintf(what, sizeof what, "%s: CPU time / allocating and filling (target <= 1.2)",
                      std::string(name).substr(11).c_str());
        std::printf("%-62s %8.2f\n", what, it->second / base->second);
    }
}

}  // namespace zk_bench
