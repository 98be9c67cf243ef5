// Reading and writing a 4096 x 4096 map as an 8-bit bitmap file, beside references measured in the
// same run: memcpy of the file's bytes and stb_image reading the same file; stb_image_write's
// (24-bit) writer on the same pixels; the writer with an exact table (a map of 200 colours of
// its own) beside the default one; refusing a 2 GiB file that is no bitmap. The figures that matter
// are the ratios printed at the end. This file also holds zk_bench's main(), which adds those
// ratios (and those of the PNG and undo figures) to the usual report.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb/stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include "bench_figures.h"
#include "bench_map.h"
#include "doc/bitmap_file.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSide = zk_bench::kMapSide;

// A map of 200 colours none of which is in the default table, in the same layout: every colour
// is kept, through an exact table.
gdi::Bitmap MakeMap200() {
    gdi::Bitmap map = zk_bench::Map();
    for (std::size_t i = 0; i < map.PixelCount(); ++i) {
        gdi::Color& c = map.Data()[i];
        const std::size_t x = i % kSide, y = i / kSide;
        const int shade = static_cast<int>((x / 16 + y / 16 * 7) % 200);
        c = c == gdi::kWhite ? gdi::RGB(250, 250, 3 + shade) : gdi::RGB(3 + shade, 30, 77);
    }
    return map;
}

struct Fixture {
    zk_bench::TempDir dir{"zk_bench"};
    fs::path file8;  // our 8-bit file of the map
    const gdi::Bitmap& map = zk_bench::Map();
    gdi::Bitmap map200;  // 200 colours, none in the default table
    fs::path huge, hugePicture;
    std::vector<unsigned char> rgb;  // the same pixels as stb_image_write takes them
    std::uintmax_t fileSize = 0;

    Fixture() {
        file8 = dir.Path() / "map8.bmp";
        zk::BitmapError error;
        if (!zk::WriteBitmapFile(file8, map, &error)) {
            std::fprintf(stderr, "cannot write %s: %s\n", file8.c_str(), error.message.c_str());
            std::abort();
        }
        fileSize = fs::file_size(file8);
        map200 = MakeMap200();
        // Two files of 2 GiB that use no disk: zeros, and a 1 x 1 picture followed by zeros.
        huge = dir.Path() / "zeros.bin";
        hugePicture = dir.Path() / "picture-then-zeros.bmp";
        const unsigned char onePixel[] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  40,
                                          0,   0,   0,  1, 0, 0, 0, 1, 0, 0, 0,  1, 0, 24, 0,
                                          0,   0,   0,  0, 4, 0, 0, 0, 0, 0, 0,  0, 0, 0,  0,
                                          0,   0,   0,  0, 0, 0, 0, 0, 0, 1, 2,  3, 0};
        for (const fs::path& p : {huge, hugePicture}) {
            const int fd = ::open(p.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
            if (p == hugePicture && ::write(fd, onePixel, sizeof onePixel) != sizeof onePixel)
                std::abort();
            if (fd < 0 || ::ftruncate(fd, off_t{1} << 31) != 0)
                std::abort();
            ::close(fd);
        }
        rgb.resize(static_cast<std::size_t>(kSide) * kSide * 3);
        for (std::size_t i = 0; i < map.PixelCount(); ++i) {
            const gdi::Color c = map.Data()[i];
            rgb[3 * i] = static_cast<unsigned char>(gdi::GetRValue(c));
            rgb[3 * i + 1] = static_cast<unsigned char>(gdi::GetGValue(c));
            rgb[3 * i + 2] = static_cast<unsigned char>(gdi::GetBValue(c));
        }
    }
};

Fixture& Get() {
    static Fixture f;
    return f;
}

void SetCounters(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * kSide * kSide);  // pixels
}

// --- Reading the 8-bit file -----------------------------------------------------------------

void BM_Read_Ours(benchmark::State& state) {
    Fixture& f = Get();
    for (auto _ : state) {
        gdi::Bitmap bmp;
        if (!zk::ReadBitmapFile(f.file8, bmp))
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(bmp.Data());
    }
    SetCounters(state);
}
BENCHMARK(BM_Read_Ours)->Unit(benchmark::kMillisecond);

void BM_Read_StbImage(benchmark::State& state) {
    Fixture& f = Get();
    for (auto _ : state) {
        int w, h, n;
        // Its natural output (3 channels for this file): the least work it can be asked for.
        stbi_uc* px = stbi_load(f.file8.c_str(), &w, &h, &n, 0);
        if (!px)
            state.SkipWithError("stb_image failed");
        benchmark::DoNotOptimize(px);
        stbi_image_free(px);
    }
    SetCounters(state);
}
BENCHMARK(BM_Read_StbImage)->Unit(benchmark::kMillisecond);

// Asked for 4 bytes a pixel, as our display format has: the same output size as ours.
void BM_Read_StbImage4(benchmark::State& state) {
    Fixture& f = Get();
    for (auto _ : state) {
        int w, h, n;
        stbi_uc* px = stbi_load(f.file8.c_str(), &w, &h, &n, 4);
        if (!px)
            state.SkipWithError("stb_image failed");
        benchmark::DoNotOptimize(px);
        stbi_image_free(px);
    }
    SetCounters(state);
}
BENCHMARK(BM_Read_StbImage4)->Unit(benchmark::kMillisecond);

void BM_Read_Memcpy(benchmark::State& state) {
    Fixture& f = Get();
    const std::vector<char> src(f.fileSize, 1);
    std::vector<char> dst(f.fileSize);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size());
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    SetCounters(state);
}
BENCHMARK(BM_Read_Memcpy)->Unit(benchmark::kMillisecond);

// --- Writing: in memory, then to disk -------------------------------------------------------

void BM_Encode_Ours(benchmark::State& state) {
    Fixture& f = Get();
    for (auto _ : state) {
        auto dib = zk::BitmapToDib(f.map);
        benchmark::DoNotOptimize(dib->data());
    }
    SetCounters(state);
}
BENCHMARK(BM_Encode_Ours)->Unit(benchmark::kMillisecond);

// The same size of map with 200 colours of its own: counted, given an exact table, indexed.
void BM_Encode_Ours_Exact200(benchmark::State& state) {
    Fixture& f = Get();
    for (auto _ : state) {
        auto dib = zk::BitmapToDib(f.map200);
        benchmark::DoNotOptimize(dib->data());
    }
    SetCounters(state);
}
BENCHMARK(BM_Encode_Ours_Exact200)->Unit(benchmark::kMillisecond);

void BM_WriteFile_Ours_Exact200(benchmark::State& state) {
    Fixture& f = Get();
    const fs::path out = f.dir.Path() / "ours200.bmp";
    for (auto _ : state)
        if (!zk::WriteBitmapFile(out, f.map200))
            state.SkipWithError("write failed");
    SetCounters(state);
}
BENCHMARK(BM_WriteFile_Ours_Exact200)->Unit(benchmark::kMillisecond)->UseRealTime();

// Files of 2 GiB: what refusing one that is not a bitmap costs, and reading a small picture
// with junk after it; "peak_rss_growth_kib" is how much the process's peak resident size grew.
void ReadHuge(benchmark::State& state, const fs::path& file, bool reads) {
    rusage before{}, after{};
    ::getrusage(RUSAGE_SELF, &before);
    for (auto _ : state) {
        gdi::Bitmap bmp;
        if (zk::ReadBitmapFile(file, bmp) != reads)
            state.SkipWithError("unexpected result");
        benchmark::DoNotOptimize(bmp.Data());
    }
    ::getrusage(RUSAGE_SELF, &after);
    state.counters["peak_rss_growth_kib"] = static_cast<double>(after.ru_maxrss - before.ru_maxrss);
}
void BM_Read_Refuse2GiBOfZeros(benchmark::State& state) {
    ReadHuge(state, Get().huge, false);
}
BENCHMARK(BM_Read_Refuse2GiBOfZeros)->Unit(benchmark::kMicrosecond);
void BM_Read_OnePixelBefore2GiBOfJunk(benchmark::State& state) {
    ReadHuge(state, Get().hugePicture, true);
}
BENCHMARK(BM_Read_OnePixelBefore2GiBOfJunk)->Unit(benchmark::kMicrosecond);

void AppendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<unsigned char>*>(context);
    const auto* p = static_cast<const unsigned char*>(data);
    out->insert(out->end(), p, p + size);
}

void BM_Encode_StbImageWrite(benchmark::State& state) {
    Fixture& f = Get();
    for (auto _ : state) {
        std::vector<unsigned char> out;
        out.reserve(static_cast<std::size_t>(kSide) * kSide * 3 + 64);
        if (!stbi_write_bmp_to_func(AppendBytes, &out, kSide, kSide, 3, f.rgb.data()))
            state.SkipWithError("stb_image_write failed");
        benchmark::DoNotOptimize(out.data());
    }
    SetCounters(state);
}
BENCHMARK(BM_Encode_StbImageWrite)->Unit(benchmark::kMillisecond);

// Both made durable: ours renames a synced temporary over the target, so stb's file is synced too.
void BM_WriteFile_Ours(benchmark::State& state) {
    Fixture& f = Get();
    const fs::path out = f.dir.Path() / "ours.bmp";
    for (auto _ : state)
        if (!zk::WriteBitmapFile(out, f.map))
            state.SkipWithError("write failed");
    SetCounters(state);
}
BENCHMARK(BM_WriteFile_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WriteFile_StbImageWrite(benchmark::State& state) {
    Fixture& f = Get();
    const fs::path out = f.dir.Path() / "stb.bmp";
    for (auto _ : state) {
        if (!stbi_write_bmp(out.c_str(), kSide, kSide, 3, f.rgb.data()))
            state.SkipWithError("stb_image_write failed");
        const int fd = ::open(out.c_str(), O_RDONLY);
        ::fsync(fd);
        ::close(fd);
    }
    SetCounters(state);
}
BENCHMARK(BM_WriteFile_StbImageWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints the runs as usual, then the ratios the targets are stated in.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        // The median of repetitions when there are any, else the single run.
        for (const Run& r : runs) {
            const std::string name = r.run_name.str();
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median") {
                m_seconds[name] = Seconds(r);
                m_fromMedian[name] = true;
            } else if (r.run_type == Run::RT_Iteration && r.iterations > 0 && !m_fromMedian[name]) {
                m_seconds[name] = Seconds(r);
            }
            // Sizes as measured, not their spread over the repetitions.
            const bool measured = r.run_type == Run::RT_Iteration || r.aggregate_name == "median";
            if (const auto bytes = r.counters.find("file_bytes");
                measured && bytes != r.counters.end())
                m_bytes[name] = bytes->second;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        Ratio("read: stb_image time / ours (target >= 3)", "BM_Read_StbImage", "BM_Read_Ours");
        Ratio("read: stb_image (4 channels) time / ours", "BM_Read_StbImage4", "BM_Read_Ours");
        Ratio("read: ours time / memcpy of the file", "BM_Read_Ours", "BM_Read_Memcpy");
        Ratio("encode in memory: stb_image_write time / ours (target >= 1)",
              "BM_Encode_StbImageWrite", "BM_Encode_Ours");
        Ratio("write file, synced: stb_image_write time / ours (target >= 1)",
              "BM_WriteFile_StbImageWrite/real_time", "BM_WriteFile_Ours/real_time");
        Ratio("encode: exact table (200 colours) time / default table", "BM_Encode_Ours_Exact200",
              "BM_Encode_Ours");
        Ratio("write file: exact table (200 colours) time / default table",
              "BM_WriteFile_Ours_Exact200/real_time", "BM_WriteFile_Ours/real_time");
        Ratio("PNG encode in memory: libpng time / ours (target >= 2)", "BM_PngEncode_Libpng",
              "BM_PngEncode_Ours");
        Ratio("PNG file size: ours / libpng's (target <= 1.05)", "BM_PngEncode_Ours",
              "BM_PngEncode_Libpng", m_bytes);
        Ratio("PNG write file, synced: libpng time / ours", "BM_PngWriteFile_Libpng/real_time",
              "BM_PngWriteFile_Ours/real_time");
        Ratio("PNG read: libpng (4 bytes a pixel) time / ours (target >= 1.5)", "BM_PngRead_Libpng",
              "BM_PngRead_Ours");
        Ratio("PNG read: libpng (3 bytes a pixel) time / ours", "BM_PngRead_LibpngRGB",
              "BM_PngRead_Ours");
        zk_bench::PrintUndoFigures(m_seconds);
        zk_bench::PrintRecoveryFigures(m_seconds);
        zk_bench::PrintPaintFigures(m_seconds);
        zk_bench::PrintMapFileFigures(m_seconds);
    }

  private:
    // CPU time for work in memory, which other processes on the machine disturb less; real time
    // for writing files, where waiting for the disk is part of the cost.
    static double Seconds(const Run& r) {
        return r.run_name.time_type == "real_time" ? r.GetAdjustedRealTime()
                                                   : r.GetAdjustedCPUTime();
    }
    void Ratio(const char* what, const std::string& num, const std::string& den) {
        Ratio(what, num, den, m_seconds);
    }
    static void Ratio(const char* what, const std::string& num, const std::string& den,
                      const std::map<std::string, double>& of) {
        const auto a = of.find(num), b = of.find(den);
        if (a == of.end() || b == of.end() || b->second <= 0)
            return;
        std::printf("%-62s %6.2f\n", what, a->second / b->second);
    }
    std::map<std::string, double> m_seconds;
    std::map<std::string, double> m_bytes;
    std::map<std::string, bool> m_fromMedian;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
