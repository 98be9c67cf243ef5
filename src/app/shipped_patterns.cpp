#include "app/shipped_patterns.h"

#include <filesystem>
#include <system_error>

#include "doc/bitmap_file.h"
#include "doc/pattern_library.h"
#include "res/pixel_art.h"

namespace zk {

namespace {

gdi::Bitmap Shipped(bool symbol, int i) {
    for (const res::PatternPicture& p : res::PatternPictures()) {
        if (p.symbol != symbol || p.index != i)
            continue;
        const QImage art = res::RenderArt(p.rows);
        if (art.isNull())
            return {};
        gdi::Bitmap b(art.width(), art.height(), symbol ? 1 : 32, gdi::kWhite);
        for (int y = 0; y < art.height(); ++y)
            for (int x = 0; x < art.width(); ++x)
                b.SetPixel(x, y, art.pixel(x, y) & 0xFFFFFFu);
        return b;
    }
    return {};
}

}  // namespace

gdi::Bitmap ShippedBrush(int i) {
    return Shipped(false, i);
}

gdi::Bitmap ShippedSymbol(int i) {
    return Shipped(true, i);
}

bool WriteShippedPatterns(const std::string& folder, bool replace) {
    PatternLibrary names;
    names.m_directory = folder;
    bool ok = true;
    auto write = [&](const std::string& path, const gdi::Bitmap& picture) {
        std::error_code ec;
        if (!replace && std::filesystem::symlink_status(path, ec).type() !=
                            std::filesystem::file_type::not_found)
            return;
        ok = WriteBitmapFile(path, picture) && ok;
    };
    for (int i = 0; i < PatternLibrary::kCount; ++i) {
        write(names.BrushPath(i), ShippedBrush(i));
        write(names.SymbolPath(i), ShippedSymbol(i));
    }
    return ok;
}

}  // namespace zk
