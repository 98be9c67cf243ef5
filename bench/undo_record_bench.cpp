// Undo on a 16384 x 16384 map (1 GiB of pixels), beside a memcpy of the whole map measured in the
// same run: a press, a freehand stroke's record, a move that stamps tiles with the button held,
// and the memory an open map takes. The ratios are printed at the end with the file figures.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_figures.h"
#include "bench_map.h"
#include "doc/zk_doc.h"
#include "gdi/dc.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSide = 16384;
constexpr double kMapBytes = double{kSide} * kSide * 4;

std::size_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

using zk_bench::Stroke;

struct Fixture {
    zk::CZKDoc doc;
    std::size_t residentOpen = 0;    // after opening the map from its file
    std::size_t residentStroke = 0;  // then a stroke and a press
    std::size_t strokeBytes = 0;     // what the stroke's record keeps
    std::size_t strokeTiles = 0;

    Fixture() {
        // The file and its folder go when the constructor ends, once the map is open.
        const zk_bench::TempDir dir("zk_undo_bench");
        const fs::path file = dir.Path() / "map.bmp";
        zk_bench::WriteStripedMap(file, kSide);
        const std::size_t before = ResidentBytes();
        if (!doc.OnOpenDocument(file.string())) {
            std::fprintf(stderr, "cannot open %s\n", file.c_str());
            std::abort();
        }
        residentOpen = ResidentBytes() - before;
        gdi::DC dc(&doc.m_bitmap);
        doc.SaveUndo();
        Stroke(dc, 5000, 5000);
        strokeBytes = doc.GetUndoRecord().Bytes();
        strokeTiles = doc.GetUndoRecord().TileCount();
        residentStroke = ResidentBytes() - before;
        doc.SaveUndo();
    }
};

Fixture* g_fixture = nullptr;
double g_historyResident = 0;

Fixture& Get() {
    static Fixture f;
    g_fixture = &f;
    return f;
}

void BM_Undo_MapMemcpy(benchmark::State& state) {
    Fixture& f = Get();
    // The copy the undo snapshot used to make, into a buffer that already has its pages (as the
    // old undo copy had after the first press), so the figure is the copy and not page faults.
    // The recovery figures are measured against it too.
    static gdi::Bitmap copy(kSide, kSide, 32, gdi::kWhite);
    for (auto _ : state) {
        std::memcpy(copy.Data(), f.doc.m_bitmap.Data(), f.doc.m_bitmap.PixelCount() * 4);
        benchmark::DoNotOptimize(copy.Data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Undo_MapMemcpy)->Unit(benchmark::kMicrosecond);

// A press opens a new record; the last one held a stroke's tiles.
void BM_Undo_Press(benchmark::State& state) {
    Fixture& f = Get();
    for (auto _ : state) {
        f.doc.SaveUndo();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Undo_Press)->Unit(benchmark::kMicrosecond);

// A whole gesture: press, then a 200-pixel stroke (its first write into each tile keeps it).
void BM_Undo_PressAndStroke(benchmark::State& state) {
    Fixture& f = Get();
    gdi::DC dc(&f.doc.m_bitmap);
    int n = 0;
    for (auto _ : state) {
        f.doc.SaveUndo();
        Stroke(dc, 1000 + (n % 50) * 250, 1000 + (n / 50 % 50) * 250);
        ++n;
        benchmark::ClobberMemory();
    }
    f.doc.SaveUndo();
}
BENCHMARK(BM_Undo_PressAndStroke)->Unit(benchmark::kMicrosecond);

// With the button held, each move stamps a 64 x 64 tile on fresh map: the worst case for the
// record, which keeps up to four 64 x 64 tiles of old pixels at every move. A press comes every
// 256 moves, as strokes end.
void BM_Undo_MoveStampingTiles(benchmark::State& state) {
    Fixture& f = Get();
    gdi::DC dc(&f.doc.m_bitmap);
    const gdi::Brush brush = gdi::Brush::Solid(gdi::kBlack);
    int n = 0;
    for (auto _ : state) {
        if (n % 256 == 0)
            f.doc.SaveUndo();
        const int x = 16 + (n % 200) * 80, y = 16 + (n / 200 % 200) * 80;
        dc.FillRect({x, y, x + 64, y + 64}, brush);
        ++n;
        benchmark::ClobberMemory();
    }
    f.doc.SaveUndo();
}
BENCHMARK(BM_Undo_MoveStampingTiles)->Unit(benchmark::kMicrosecond);

// Undo and Redo of the newest step, a 200-pixel stroke: each swaps its tiles with the map's.
void BM_Undo_UndoAndRedoAStroke(benchmark::State& state) {
    Fixture& f = Get();
    gdi::DC dc(&f.doc.m_bitmap);
    f.doc.SaveUndo();
    Stroke(dc, 9000, 9000);
    f.doc.SaveUndo();
    for (auto _ : state) {
        f.doc.OnEditUndo();
        f.doc.OnEditRedo();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Undo_UndoAndRedoAStroke)->Unit(benchmark::kMicrosecond);

// A history of 1000 strokes in fresh places: what it keeps against the pixels of their tiles,
// and what the heap grows by for it.
void BM_Undo_HistoryOf1000Strokes(benchmark::State& state) {
    Fixture& f = Get();
    for (auto _ : state) {
        f.doc.OnNewDocument();  // a history of its own, on a white map of the same size
        gdi::DC dc(&f.doc.m_bitmap);
        f.doc.SaveUndo();
        Stroke(dc, 0, 100);  // every tile of the map has its pages before the count starts
        f.doc.SaveUndo();
        const std::size_t kept0 = f.doc.History().Bytes();
        // Heap bytes in use, not resident pages: freed memory an earlier figure left resident
        // would hide what the history takes.
        const std::size_t heap0 = mallinfo2().uordblks;
        std::size_t tileBytes = 0;
        for (int i = 0; i < 1000; ++i) {
            f.doc.SaveUndo();
            Stroke(dc, 300 + (i % 40) * 400, 300 + (i / 40) * 400);
            tileBytes += f.doc.GetUndoRecord().Bytes();
        }
        f.doc.SaveUndo();
        state.counters["kept_vs_tiles"] =
            static_cast<double>(f.doc.History().Bytes() - kept0) / static_cast<double>(tileBytes);
        const double heap = static_cast<double>(mallinfo2().uordblks - heap0);
        state.counters["heap_vs_tiles"] = heap / static_cast<double>(tileBytes);
        state.counters["steps"] = static_cast<double>(f.doc.History().UndoCount());
        g_historyResident = heap / static_cast<double>(tileBytes);
    }
}
BENCHMARK(BM_Undo_HistoryOf1000Strokes)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Undo_Memory(benchmark::State& state) {
    Fixture& f = Get();
    for (auto _ : state)
        benchmark::DoNotOptimize(f.residentOpen);
    state.counters["open_vs_pixels"] = static_cast<double>(f.residentOpen) / kMapBytes;
    state.counters["stroke_vs_pixels"] = static_cast<double>(f.residentStroke) / kMapBytes;
    state.counters["stroke_tiles"] = static_cast<double>(f.strokeTiles);
    state.counters["stroke_bytes"] = static_cast<double>(f.strokeBytes);
}
BENCHMARK(BM_Undo_Memory)->Iterations(1);

}  // namespace

namespace zk_bench {

void PrintUndoFigures(const std::map<std::string, double>& seconds) {
    const auto ratio = [&](const char* what, const char* num, const char* den) {
        const auto a = seconds.find(num), b = seconds.find(den);
        if (a == seconds.end() || b == seconds.end() || b->second <= 0)
            return;
        std::printf("%-62s %10.3g\n", what, a->second / b->second);
    };
    ratio("undo: press time / memcpy of the map (target <= 0.01)", "BM_Undo_Press",
          "BM_Undo_MapMemcpy");
    ratio("undo: press and 200-pixel stroke / memcpy of the map", "BM_Undo_PressAndStroke",
          "BM_Undo_MapMemcpy");
    ratio("undo: undo and redo of a stroke / memcpy of the map (target <= 0.01)",
          "BM_Undo_UndoAndRedoAStroke", "BM_Undo_MapMemcpy");
    if (g_historyResident > 0)
        std::printf("%-62s %8.4f\n", "undo: growth for 1000 strokes / their tiles (target <= 1.01)",
                    g_historyResident);
    // The undo benchmarks all report microseconds.
    if (const auto m = seconds.find("BM_Undo_MoveStampingTiles"); m != seconds.end())
        std::printf("%-62s %8.4f\n", "undo: move stamping new tiles, ms (target < 1)",
                    m->second / 1e3);
    if (!g_fixture)
        return;
    const Fixture& f = *g_fixture;
    std::printf("%-62s %8.4f\n", "undo: resident after open / map pixels (target <= 1.1)",
                static_cast<double>(f.residentOpen) / kMapBytes);
    std::printf("%-62s %8.4f\n", "undo: resident after a stroke and a press / map pixels",
                static_cast<double>(f.residentStroke) / kMapBytes);
    std::printf("%-62s %8zu tiles, %zu bytes\n", "undo: record of a 200-pixel freehand stroke",
                f.strokeTiles, f.strokeBytes);
}

}  // namespace zk_bench
