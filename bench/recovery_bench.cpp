// The recovery store on a 16384 x 16384 map opened from a file (1 GiB of pixels), beside the
// memcpy of the whole map the undo figures measure in the same run (BM_Undo_MapMemcpy, on a map
// written and opened the same way): what a 200-pixel stroke's step costs the UI thread (the flush
// that copies its tiles) and the whole process (until the writer has committed it), and what the
// store's files take after 1000 strokes against the pixels of their tiles.
#include <benchmark/benchmark.h>
#include <time.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "bench_figures.h"
#include "bench_map.h"
#include "doc/recovery_store.h"
#include "doc/zk_doc.h"
#include "gdi/dc.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSide = 16384;
constexpr int kTile = zk::RecoveryStore::kTileSide;

double CpuNs(clockid_t clock) {
    timespec t = {};
    ::clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

using zk_bench::Stroke;

// The store's tiles a change falls in, as the store marks them.
struct TileCounter : gdi::BitmapWatcher {
    std::set<long long> tiles;
    void BeforeChange(const gdi::Bitmap&, const gdi::Rect& a) override {
        for (int row = a.top / kTile; row <= (a.bottom - 1) / kTile; ++row)
            for (int col = a.left / kTile; col <= (a.right - 1) / kTile; ++col)
                tiles.insert(static_cast<long long>(row) * (kSide / kTile) + col);
    }
};

std::uintmax_t StoreBytes(const std::string& file) {
    std::uintmax_t total = 0;
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm"})
        if (const std::uintmax_t n = fs::file_size(file + suffix, ec); !ec)
            total += n;
    return total;
}

struct Fixture {
    zk_bench::TempDir dir{"zk_recovery_bench"};  // first, so it goes after the store in it
    std::string file;
    zk::CZKDoc doc;
    std::unique_ptr<zk::RecoveryStore> store;

    Fixture() {
        file = (dir.Path() / "map.bmp").string();
        zk_bench::WriteStripedMap(file, kSide);
        // The store leans on the file as its base for as long as it stays, so it stays until
        // the end.
        Open("store");
    }
    ~Fixture() {
        doc.SetRecovery(nullptr);
        store.reset();
    }
    // The map as read from its file, and a new store for it whose first step is written.
    void Open(const std::string& folder) {
        doc.SetRecovery(nullptr);
        store.reset();
        if (!doc.OnOpenDocument(file)) {
            std::fprintf(stderr, "cannot open %s\n", file.c_str());
            std::abort();
        }
        std::string why;
        store = zk::RecoveryStore::Create((dir.Path() / folder).string(), &why);
        if (!store) {
            std::fprintf(stderr, "no store: %s\n", why.c_str());
            std::abort();
        }
        doc.SetRecovery(store.get());
        doc.FlushRecovery();
        store->WaitIdle();
    }
};

Fixture& Get() {
    static Fixture f;
    return f;
}

double g_flushUiNs = 0, g_totalCpuNs = 0, g_storeVsTiles = 0;
long long g_storeBytes = 0, g_tileBytes = 0, g_strokeTiles = 0;

// A stroke's step, the flush alone: the UI thread's CPU time while it copies the stroke's tiles
// and hands them to the writer. The stroke itself and the writer's work are not counted.
void BM_Recovery_StrokeFlushUiCpu(benchmark::State& state) {
    Fixture& f = Get();
    gdi::DC dc(&f.doc.m_bitmap);
    TileCounter tiles;
    f.doc.AddWatcher(&tiles);
    int n = 0;
    double total = 0;
    for (auto _ : state) {
        f.doc.SaveUndo();
        Stroke(dc, 1000 + (n % 50) * 250, 1000 + (n / 50 % 50) * 250);
        ++n;
        const double t0 = CpuNs(CLOCK_THREAD_CPUTIME_ID);
        f.doc.FlushRecovery();
        const double ns = CpuNs(CLOCK_THREAD_CPUTIME_ID) - t0;
        state.SetIterationTime(ns / 1e9);
        total += ns;
        f.store->WaitIdle();
    }
    f.doc.RemoveWatcher(&tiles);
    g_flushUiNs = total / n;
    g_strokeTiles = static_cast<long long>(tiles.tiles.size()) / n;
    state.counters["tiles_per_stroke"] = static_cast<double>(tiles.tiles.size()) / n;
}
BENCHMARK(BM_Recovery_StrokeFlushUiCpu)
    ->Iterations(300)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

// The same step in total: the process's CPU time from the flush until the writer has compressed
// and committed it (its wait for the disk is no CPU time; the real time is a counter).
void BM_Recovery_StrokeTotalCpu(benchmark::State& state) {
    Fixture& f = Get();
    gdi::DC dc(&f.doc.m_bitmap);
    int n = 0;
    double total = 0, real = 0;
    for (auto _ : state) {
        f.doc.SaveUndo();
        Stroke(dc, 1100 + (n % 50) * 250, 1100 + (n / 50 % 50) * 250);
        ++n;
        const double t0 = CpuNs(CLOCK_PROCESS_CPUTIME_ID), r0 = CpuNs(CLOCK_MONOTONIC);
        f.doc.FlushRecovery();
        f.store->WaitIdle();
        const double ns = CpuNs(CLOCK_PROCESS_CPUTIME_ID) - t0;
        real += CpuNs(CLOCK_MONOTONIC) - r0;
        state.SetIterationTime(ns / 1e9);
        total += ns;
    }
    g_totalCpuNs = total / n;
    state.counters["real_ms"] = real / n / 1e6;
}
BENCHMARK(BM_Recovery_StrokeTotalCpu)
    ->Iterations(300)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

// 1000 strokes in fresh places, each its own step, on the map as read from its file: the
// store's files (the database, its journal) against the pixels of the tiles the strokes fell in.
void BM_Recovery_StoreOf1000Strokes(benchmark::State& state) {
    Fixture& f = Get();
    for (auto _ : state) {
        f.Open("store1000");
        gdi::DC dc(&f.doc.m_bitmap);
        TileCounter tiles;
        f.doc.AddWatcher(&tiles);
        const std::uintmax_t empty = StoreBytes(f.store->File());
        for (int i = 0; i < 1000; ++i) {
            f.doc.SaveUndo();
            Stroke(dc, 300 + (i % 40) * 400, 300 + (i / 40) * 400);
            f.doc.FlushRecovery();
        }
        f.store->WaitIdle();
        f.doc.RemoveWatcher(&tiles);
        const auto bytes = static_cast<long long>(StoreBytes(f.store->File()));
        const long long tileBytes = static_cast<long long>(tiles.tiles.size()) * kTile * kTile * 4;
        g_storeBytes = bytes;
        g_tileBytes = tileBytes;
        g_storeVsTiles = static_cast<double>(bytes) / static_cast<double>(tileBytes);
        state.counters["store_bytes"] = static_cast<double>(bytes);
        state.counters["store_bytes_before"] = static_cast<double>(empty);
        state.counters["tile_bytes"] = static_cast<double>(tileBytes);
        state.counters["store_vs_tiles"] = g_storeVsTiles;
        state.counters["steps"] = static_cast<double>(f.store->Written());
    }
}
BENCHMARK(BM_Recovery_StoreOf1000Strokes)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

namespace zk_bench {

void PrintRecoveryFigures(const std::map<std::string, double>& seconds) {
    // The undo figures' memcpy of the map reports microseconds of CPU time; the strokes' figures
    // are kept in ns.
    const auto memcpy = seconds.find("BM_Undo_MapMemcpy");
    if (memcpy != seconds.end() && memcpy->second > 0) {
        const double memcpyNs = memcpy->second * 1e3;
        if (g_flushUiNs > 0)
            std::printf("%-62s %10.3g\n", "recovery: stroke flush, UI thread CPU / memcpy of map",
                        g_flushUiNs / memcpyNs);
        if (g_totalCpuNs > 0)
            std::printf("%-62s %10.3g\n", "recovery: stroke step, process CPU / memcpy of map",
                        g_totalCpuNs / memcpyNs);
    }
    if (g_flushUiNs > 0)
        std::printf("%-62s %8.1f us (%lld tiles)\n", "recovery: stroke flush, UI thread CPU",
                    g_flushUiNs / 1e3, g_strokeTiles);
    if (g_totalCpuNs > 0)
        std::printf("%-62s %8.1f us\n", "recovery: stroke step, process CPU until written",
                    g_totalCpuNs / 1e3);
    if (g_tileBytes > 0)
        std::printf("%-62s %8.4f (%lld / %lld bytes)\n",
                    "recovery: store after 1000 strokes / their tiles' pixels", g_storeVsTiles,
                    g_storeBytes, g_tileBytes);
}

}  // namespace zk_bench
