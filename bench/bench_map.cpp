#include "bench_map.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "doc/bitmap_file.h"

namespace zk_bench {

TempDir::TempDir(const std::string& name)
    : m_path(std::filesystem::temp_directory_path() / (name + "_" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(m_path);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

namespace {

gdi::Bitmap MakeMap() {
    gdi::Bitmap map(kMapSide, kMapSide, 32, gdi::kWhite);
    const gdi::Color fills[] = {0x808080, 0xC0C0C0, 0x000000, 0x40A000, 0xA06040, 0x0000FF};
    for (int y = 0; y < kMapSide; ++y) {
        gdi::Color* row = map.Row(y);
        for (int x = 0; x < kMapSide; ++x) {
            const int cell = (x / 256) + (y / 256) * 16;
            gdi::Color c = gdi::kWhite;
            switch (cell % 7) {
                case 1:  // diagonal hatching
                    c = ((x + y) % 8 == 0) ? gdi::kBlack : gdi::kWhite;
                    break;
                case 2:  // checks
                    c = (((x / 4) ^ (y / 4)) & 1) ? fills[cell % 6] : gdi::kWhite;
                    break;
                case 4:  // dots
                    c = (x % 6 == 0 && y % 6 == 0) ? gdi::kBlack : gdi::kWhite;
                    break;
                case 5:  // solid fill
                    c = fills[(cell / 7) % 6];
                    break;
                default:
                    break;
            }
            if (x % 32 == 0 || y % 32 == 0)
                c = gdi::kBlack;  // grid lines
            row[x] = c;
        }
    }
    return map;
}

}  // namespace

const gdi::Bitmap& Map() {
    static const gdi::Bitmap map = MakeMap();
    return map;
}

void WriteStripedMap(const std::filesystem::path& file, int side) {
    gdi::Bitmap map(side, side, 32, gdi::kWhite);
    gdi::DC dc(&map);
    for (int i = 0; i < side; i += 256)
        dc.FillRect({i, 0, i + 1, side}, gdi::Brush::Solid(gdi::kBlack));
    if (!zk::WriteBitmapFile(file, map)) {
        std::fprintf(stderr, "cannot write %s\n", file.c_str());
        std::abort();
    }
}

void Stroke(gdi::DC& dc, int x, int y) {
    dc.SelectPen(gdi::Pen::Solid(1, gdi::kBlack));
    dc.MoveTo(x, y);
    for (int i = 1; i <= 20; ++i)
        dc.LineTo(x + 10 * i, y + ((i / 4) % 2 ? 6 : -6) * (i % 4));
}

}  // namespace zk_bench
