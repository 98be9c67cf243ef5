// Writes the fuzz corpus's seeds into the folder given: files our writer makes, and small files
// of every layout the reader reads, built field by field. Run by hand when the reader learns a
// new layout (cmake --build build --target zk_fuzz_seeds && build/tests/fuzz/zk_fuzz_seeds
// tests/fuzz/corpus); the fuzzer grows the corpus from them.
#include <cstdio>
#include <filesystem>
#include <string>

#include "doc/bitmap_file.h"
#include "doc/bitmap_file_test_support.h"
#include "doc/png_file.h"
#include "doc/png_test_support.h"

namespace {

namespace fs = std::filesystem;
using zk_test::BmpFields;
using zk_test::Bytes;

std::vector<gdi::Color> Ramp(int n) {
    std::vector<gdi::Color> p;
    for (int i = 0; i < n; ++i)
        p.push_back(gdi::RGB(i * 16 + 1, 200 - i * 8, i * 5 + 7));
    return p;
}

Bytes Counting(std::size_t n) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<std::uint8_t>(i * 29 + 3);
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zk_fuzz_seeds FOLDER\n");
        return 2;
    }
    const fs::path dir = argv[1];
    fs::create_directories(dir);
    int written = 0;
    const auto put = [&](const std::string& name, const Bytes& bytes) {
        zk_test::WriteFileBytes(dir / ("seed-" + name + ".bmp"), bytes);
        ++written;
    };

    // What the program itself writes: default table, exact table, monochrome, padded rows.
    gdi::Bitmap standard(9, 5, 32, gdi::kWhite), own(7, 4, 32, 0x333333), mono(11, 3, 1);
    standard.SetPixel(2, 1, gdi::kBlack);
    standard.SetPixel(4, 3, 0xFF0000);
    own.SetPixel(1, 1, 0x123456);
    mono.SetPixel(5, 1, gdi::kWhite);
    for (const auto& [name, bmp] :
         {std::pair<const char*, const gdi::Bitmap*>{"ours-default", &standard},
          {"ours-exact", &own},
          {"ours-mono", &mono}}) {
        if (!zk::WriteBitmapFile(dir / ("seed-" + std::string(name) + ".bmp"), *bmp))
            return 1;
        ++written;
    }

    const auto pal = Ramp(16);
    put("1bit", zk_test::BuildBmp(
                    BmpFields().Size(10, 2).Bpp(1).Palette({pal[0], pal[1]}).Pixels(Counting(8))));
    put("4bit", zk_test::BuildBmp(BmpFields().Size(5, 2).Bpp(4).Palette(pal).Pixels(Counting(8))));
    put("8bit-short-table",
        zk_test::BuildBmp(
            BmpFields().Size(3, 2).Bpp(8).ColorsUsed(4).Palette(Ramp(4)).Pixels(Counting(8))));
    put("8bit-top-down",
        zk_test::BuildBmp(
            BmpFields().Size(4, -2).Bpp(8).ColorsUsed(16).Palette(pal).Pixels(Counting(8))));
    put("8bit-gap", zk_test::BuildBmp(
                        BmpFields().Size(2, 2).Bpp(8).ColorsUsed(4).Palette(Ramp(4)).Gap(6).Pixels(
                            Counting(8))));
    put("rle8", zk_test::BuildBmp(
                    BmpFields().Size(5, 3).Bpp(8).Compression(1).ColorsUsed(16).Palette(pal).Pixels(
                        {3, 1, 0, 3, 4, 5, 6, 0, 0, 0, 0, 2, 1, 1, 2, 9, 0, 0, 0, 1})));
    put("rle4", zk_test::BuildBmp(BmpFields().Size(6, 2).Bpp(4).Compression(2).Palette(pal).Pixels(
                    {4, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 1})));
    put("16bit-555", zk_test::BuildBmp(BmpFields().Size(3, 2).Bpp(16).Pixels(Counting(16))));
    put("16bit-565", zk_test::BuildBmp(BmpFields()
                                           .Size(3, 2)
                                           .Bpp(16)
                                           .Compression(3)
                                           .Masks({0xF800, 0x07E0, 0x001F})
                                           .Pixels(Counting(16))));
    put("24bit", zk_test::BuildBmp(BmpFields().Size(3, 2).Bpp(24).Pixels(Counting(24))));
    put("32bit", zk_test::BuildBmp(BmpFields().Size(2, 2).Bpp(32).Pixels(Counting(16))));
    put("32bit-masks", zk_test::BuildBmp(BmpFields()
                                             .Size(2, 2)
                                             .Bpp(32)
                                             .Compression(3)
                                             .Masks({0x3FF00000, 0x000FFC00, 0x000003FF})
                                             .Pixels(Counting(16))));
    put("32bit-alpha", zk_test::BuildBmp(BmpFields()
                                             .Size(2, 1)
                                             .Bpp(32)
                                             .Compression(6)
                                             .Masks({0xFF0000, 0xFF00, 0xFF, 0xFF000000})
                                             .Pixels(Counting(8))));
    put("core-8bit",
        zk_test::BuildBmp(
            BmpFields().HeaderSize(12).Size(3, 2).Bpp(8).Palette(Ramp(256)).Pixels(Counting(8))));
    put("core-24bit",
        zk_test::BuildBmp(BmpFields().HeaderSize(12).Size(2, 2).Bpp(24).Pixels(Counting(16))));
    put("os2-16",
        zk_test::BuildBmp(
            BmpFields().HeaderSize(16).Size(2, 2).Bpp(4).Palette(pal).Pixels(Counting(8))));
    put("os2-64",
        zk_test::BuildBmp(
            BmpFields().HeaderSize(64).Size(2, 2).Bpp(8).ColorsUsed(4).Palette(Ramp(4)).Pixels(
                Counting(8))));
    for (std::uint32_t size : {52u, 56u, 108u, 124u})
        put("v" + std::to_string(size) + "-masks",
            zk_test::BuildBmp(BmpFields()
                                  .HeaderSize(size)
                                  .Size(2, 2)
                                  .Bpp(16)
                                  .Compression(3)
                                  .Masks({0x7C00, 0x03E0, 0x001F, 0x8000})
                                  .Pixels(Counting(8))));

    // PNG: what the program writes (palette of each depth, RGB), and libpng's files of the kinds
    // the reader takes other roads for.
    gdi::Bitmap many(9, 4, 32, gdi::kWhite);
    for (int i = 0; i < 36; ++i)
        many.SetPixel(i % 9, i / 9, gdi::RGB(i * 7, 255 - i, i * 3));
    for (const auto& [name, bmp] : {std::pair<const char*, const gdi::Bitmap*>{"ours-3", &standard},
                                    {"ours-mono", &mono},
                                    {"ours-36", &many}}) {
        if (!zk::WritePngFile(dir / ("seed-png-" + std::string(name) + ".png"), *bmp))
            return 1;
        ++written;
    }
    const struct {
        const char* name;
        int colorType, depth;
        bool interlaced;
    } kinds[] = {
        {"grey-2", PNG_COLOR_TYPE_GRAY, 2, false},
        {"grey-16", PNG_COLOR_TYPE_GRAY, 16, false},
        {"grey-alpha", PNG_COLOR_TYPE_GRAY_ALPHA, 8, false},
        {"rgb-16", PNG_COLOR_TYPE_RGB, 16, false},
        {"rgba", PNG_COLOR_TYPE_RGB_ALPHA, 8, false},
        {"palette-interlaced", PNG_COLOR_TYPE_PALETTE, 4, true},
        {"rgba-interlaced", PNG_COLOR_TYPE_RGB_ALPHA, 8, true},
    };
    for (const auto& k : kinds) {
        zk_test::PngPicture p;
        p.width = 5;
        p.height = 3;
        p.colorType = k.colorType;
        p.depth = k.depth;
        p.interlaced = k.interlaced;
        if (k.colorType == PNG_COLOR_TYPE_PALETTE)
            p.palette = Ramp(16);
        for (int i = 0; i < p.width * p.height * p.Channels(); ++i)
            p.samples.push_back(static_cast<std::uint16_t>(
                (i * 2654435761u >> 7) %
                (k.colorType == PNG_COLOR_TYPE_PALETTE ? 16u : (1u << k.depth))));
        if (k.colorType == PNG_COLOR_TYPE_PALETTE)
            p.alphas = {0, 128, 255};
        zk_test::WriteFileBytes(dir / ("seed-png-" + std::string(k.name) + ".png"),
                                zk_test::WritePng(p));
        ++written;
    }
    std::printf("%d seeds in %s\n", written, dir.c_str());
    return 0;
}
