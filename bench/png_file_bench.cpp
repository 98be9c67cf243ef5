// Writing and reading the 4096 x 4096 map as PNG, beside libpng's own simplified API at its
// default settings in the same run. The reference writer is handed what it needs for the same
// palette image ready-made (the indices and the palette), while ours starts from the map's
// pixels; both readers read our file, the reference into 4 bytes a pixel as our display format
// has, and (for comparison) into 3. The file sizes are counted as "file_bytes".
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_map.h"
#include "doc/color_table.h"
#include "doc/png_file.h"

namespace {

namespace fs = std::filesystem;
constexpr int kSide = zk_bench::kMapSide;

struct PngFixture {
    zk_bench::TempDir dir{"zk_png_bench"};
    fs::path ours;  // our file of the map
    const gdi::Bitmap& map = zk_bench::Map();
    std::vector<png_byte> indices;   // the map as the reference writer takes it
    std::vector<png_byte> colormap;  // R, G, B of each index
    png_uint_32 colors = 0;

    PngFixture() {
        ours = dir.Path() / "map.png";
        zk::BitmapError error;
        if (!zk::WritePngFile(ours, map, &error)) {
            std::fprintf(stderr, "cannot write %s: %s\n", ours.c_str(), error.message.c_str());
            std::abort();
        }
        const std::optional<zk::ExactPalette> palette = zk::ExactPalette::Of(map);
        if (!palette)
            std::abort();
        for (gdi::Color c : palette->Colors())
            colormap.insert(colormap.end(), {static_cast<png_byte>(gdi::GetRValue(c)),
                                             static_cast<png_byte>(gdi::GetGValue(c)),
                                             static_cast<png_byte>(gdi::GetBValue(c))});
        colors = static_cast<png_uint_32>(palette->Colors().size());
        indices.resize(map.PixelCount());
        for (int y = 0; y < kSide; ++y)
            palette->IndexRow(map.Row(y), indices.data() + static_cast<std::size_t>(y) * kSide,
                              kSide);
    }

    png_image ReferenceImage() const {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = kSide;
        image.height = kSide;
        image.format = PNG_FORMAT_RGB_COLORMAP;
        image.colormap_entries = colors;
        return image;
    }
};

PngFixture& Get() {
    static PngFixture f;
    return f;
}

void Finish(benchmark::State& state, std::size_t fileBytes) {
    state.SetItemsProcessed(state.iterations() * kSide * kSide);  // pixels
    state.counters["file_bytes"] = static_cast<double>(fileBytes);
}

void BM_PngEncode_Ours(benchmark::State& state) {
    PngFixture& f = Get();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto png = zk::BitmapToPng(f.map);
        if (!png)
            state.SkipWithError("write failed");
        bytes = png ? png->size() : 0;
        benchmark::DoNotOptimize(png->data());
    }
    Finish(state, bytes);
}
BENCHMARK(BM_PngEncode_Ours)->Unit(benchmark::kMillisecond);

void BM_PngEncode_Libpng(benchmark::State& state) {
    PngFixture& f = Get();
    std::vector<std::uint8_t> out(f.indices.size() + (1u << 20));
    png_alloc_size_t bytes = 0;
    for (auto _ : state) {
        png_image image = f.ReferenceImage();
        bytes = out.size();
        if (!png_image_write_to_memory(&image, out.data(), &bytes, 0, f.indices.data(), 0,
                                       f.colormap.data()))
            state.SkipWithError(image.message);
        benchmark::DoNotOptimize(out.data());
    }
    Finish(state, bytes);
}
BENCHMARK(BM_PngEncode_Libpng)->Unit(benchmark::kMillisecond);

// Both made durable: ours renames a synced temporary over the target, so libpng's file is
// synced too.
void BM_PngWriteFile_Ours(benchmark::State& state) {
    PngFixture& f = Get();
    const fs::path out = f.dir.Path() / "ours.png";
    for (auto _ : state)
        if (!zk::WritePngFile(out, f.map))
            state.SkipWithError("write failed");
    Finish(state, fs::file_size(out));
}
BENCHMARK(BM_PngWriteFile_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PngWriteFile_Libpng(benchmark::State& state) {
    PngFixture& f = Get();
    const fs::path out = f.dir.Path() / "libpng.png";
    for (auto _ : state) {
        png_image image = f.ReferenceImage();
        if (!png_image_write_to_file(&image, out.c_str(), 0, f.indices.data(), 0,
                                     f.colormap.data()))
            state.SkipWithError(image.message);
        const int fd = ::open(out.c_str(), O_RDONLY);
        ::fsync(fd);
        ::close(fd);
    }
    Finish(state, fs::file_size(out));
}
BENCHMARK(BM_PngWriteFile_Libpng)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PngRead_Ours(benchmark::State& state) {
    PngFixture& f = Get();
    for (auto _ : state) {
        gdi::Bitmap bmp;
        if (!zk::ReadPngFile(f.ours, bmp))
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(bmp.Data());
    }
    Finish(state, fs::file_size(f.ours));
}
BENCHMARK(BM_PngRead_Ours)->Unit(benchmark::kMillisecond);

void ReadWithLibpng(benchmark::State& state, png_uint_32 format) {
    PngFixture& f = Get();
    for (auto _ : state) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_file(&image, f.ours.c_str()))
            state.SkipWithError(image.message);
        image.format = format;
        std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
        if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
            state.SkipWithError(image.message);
        benchmark::DoNotOptimize(pixels.data());
    }
    Finish(state, fs::file_size(f.ours));
}
// 4 bytes a pixel, blue first: the very layout of our display format.
void BM_PngRead_Libpng(benchmark::State& state) {
    ReadWithLibpng(state, PNG_FORMAT_BGRA);
}
BENCHMARK(BM_PngRead_Libpng)->Unit(benchmark::kMillisecond);
void BM_PngRead_LibpngRGB(benchmark::State& state) {
    ReadWithLibpng(state, PNG_FORMAT_RGB);
}
BENCHMARK(BM_PngRead_LibpngRGB)->Unit(benchmark::kMillisecond);

}  // namespace
