// The view's paint pass on a 16384 x 16384 map (1 GiB of pixels) in a 1000 x 700 window, at every
// zoom step from 1/64 to 32, beside the same pass at zoom 1 in the same run; and what keeping the
// reduced copies up to date costs after a stroke. The ratios are printed at the end with the
// other figures.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "bench_figures.h"
#include "bench_map.h"
#include "doc/zk_doc.h"
#include "gdi/dc.h"
#include "tools/tool_settings.h"
#include "view/zk_view.h"

namespace {

constexpr int kSide = 16384;
constexpr int kWindowW = 1000, kWindowH = 700;

// What a drawn map looks like to the paint pass: white, a black line every 16 pixels each way
// (the grid a tiles map has), filled cells here and there.
void DrawMap(gdi::Bitmap& map) {
    for (int y = 0; y < kSide; ++y) {
        gdi::Color* row = map.Row(y);
        const bool line = y % 16 == 0;
        for (int x = 0; x < kSide; ++x)
            row[x] = (line || x % 16 == 0 || ((x / 256 + y / 256) % 5 == 0 && (x ^ y) & 4))
                         ? gdi::kBlack
                         : gdi::kWhite;
    }
}

struct Fixture {
    std::unique_ptr<QApplication> app;
    zk::CZKDoc doc;
    std::unique_ptr<zk::CZKView> view;

    Fixture() {
        // The paint pass is ours; it needs no display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "zk_bench";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
        if (!doc.NewMap(kSide, kSide)) {
            std::fprintf(stderr, "no memory for the map\n");
            std::abort();
        }
        DrawMap(doc.m_bitmap);
        // The picture was drawn past the undo record: it starts from it.
        doc.SaveUndo();
        view = std::make_unique<zk::CZKView>(&doc);
        view->resize(kWindowW, kWindowH);
        view->show();
        view->OnInitialUpdate();
        view->m_gridOn = 1;
        // The picture and the dots only: no tool's marks.
        view->SelectTool(-1);
    }

    // The zoom, with the window's centre over the map's centre.
    void ZoomTo(float zoom) {
        zk::ToolSettings::zoom = zoom;
        view->UpdateScrollSizes();
        const int side = zk::ToWindow(kSide, zoom);
        view->horizontalScrollBar()->setValue((side - kWindowW) / 2);
        view->verticalScrollBar()->setValue((side - kWindowH) / 2);
    }
};

Fixture& Get() {
    static Fixture f;
    return f;
}

// A whole paint pass of the window; the first one, which makes the reduced copy the zoom reads,
// comes before the timing.
void BM_Paint(benchmark::State& state) {
    Fixture& f = Get();
    const float zoom = std::ldexp(1.0f, static_cast<int>(state.range(0)));
    f.ZoomTo(zoom);
    f.view->PaintNow();
    for (auto _ : state) {
        f.view->PaintNow();
        benchmark::DoNotOptimize(f.view->WindowPicture().Data());
    }
    state.counters["reduced_copies_vs_pixels"] =
        static_cast<double>(f.doc.GetReducedCopies().Bytes()) /
        (static_cast<double>(kSide) * kSide * 4);
}
BENCHMARK(BM_Paint)->DenseRange(-6, 5)->Unit(benchmark::kMicrosecond);

// A press and a stroke, then every reduced copy brought up to date where the stroke was: what
// a stroke costs once the copies are kept, beside the press and stroke alone.
void StrokeAndRefresh(benchmark::State& state, bool refresh) {
    Fixture& f = Get();
    // Every level kept, as after a look at the map at every zoom.
    for (int k = zk::ReducedCopies::kFirstLevel; k <= zk::ReducedCopies::kLastLevel; ++k)
        f.doc.ReducedMap(k, {0, 0, 1, 1});
    gdi::DC dc(&f.doc.m_bitmap);
    int n = 0;
    for (auto _ : state) {
        const int x = 1000 + (n % 50) * 250, y = 1000 + (n / 50 % 50) * 250;
        f.doc.SaveUndo();
        zk_bench::Stroke(dc, x, y);
        if (refresh)
            for (int k = zk::ReducedCopies::kFirstLevel; k <= zk::ReducedCopies::kLastLevel; ++k)
                f.doc.ReducedMap(k, {(x - 8) >> k, (y - 32) >> k, (x + 210) >> k, (y + 32) >> k});
        ++n;
        benchmark::ClobberMemory();
    }
    f.doc.SaveUndo();
}
void BM_Stroke_PressAndStroke(benchmark::State& state) {
    StrokeAndRefresh(state, false);
}
BENCHMARK(BM_Stroke_PressAndStroke)->Unit(benchmark::kMicrosecond);
void BM_Stroke_PressStrokeAndReducedCopies(benchmark::State& state) {
    StrokeAndRefresh(state, true);
}
BENCHMARK(BM_Stroke_PressStrokeAndReducedCopies)->Unit(benchmark::kMicrosecond);

}  // namespace

namespace zk_bench {

void PrintPaintFigures(const std::map<std::string, double>& seconds) {
    const auto one = seconds.find("BM_Paint/0");
    if (one == seconds.end() || one->second <= 0)
        return;
    std::printf("%-62s %8.1f\n", "paint: whole window at zoom 1, microseconds", one->second);
    for (int e = -6; e <= 5; ++e) {
        const auto it = seconds.find("BM_Paint/" + std::to_string(e));
        if (it == seconds.end())
            continue;
        char what[80];
        std::snprintf(what, sizeof what, "paint: zoom 2^%d / zoom 1 (target <= 2)", e);
        std::printf("%-62s %8.2f\n", what, it->second / one->second);
    }
    const auto a = seconds.find("BM_Stroke_PressAndStroke");
    const auto b = seconds.find("BM_Stroke_PressStrokeAndReducedCopies");
    if (a != seconds.end() && b != seconds.end() && a->second > 0) {
        std::printf("%-62s %8.1f\n", "stroke: press and stroke, microseconds", a->second);
        std::printf("%-62s %8.1f\n", "stroke: and every reduced copy after it, microseconds",
                    b->second);
    }
}

}  // namespace zk_bench
