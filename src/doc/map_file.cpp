#include "doc/map_file.h"

#include <cstdint>
#include <string>

#include "doc/png_file.h"
#include "doc/read_file.h"

namespace zk {

namespace {

struct FormatName {
    MapFormat format;
    std::string_view extension;
};
constexpr FormatName kFormats[] = {{MapFormat::Bmp, ".bmp"}, {MapFormat::Png, ".png"}};

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        if (x != b[i])
            return false;
    }
    return true;
}

}  // namespace

std::string_view MapExtension(MapFormat format) {
    for (const FormatName& f : kFormats)
        if (f.format == format)
            return f.extension;
    return kFormats[0].extension;
}

std::optional<MapFormat> MapFormatOfName(const std::filesystem::path& path) {
    const std::string extension = path.extension().string();
    for (const FormatName& f : kFormats)
        if (SameLetters(extension, f.extension))
            return f.format;
    return std::nullopt;
}

bool ReadMapFile(const std::filesystem::path& path, gdi::Bitmap& bitmap, MapFormat* format,
                 BitmapError* error) {
    MapFormat found = MapFormatOfName(path).value_or(MapFormat::Bmp);
    {
        ReadFile file;
        std::uint8_t first[8] = {};
        if (file.Open(path, nullptr) && file.ReadAt(first, sizeof first, 0) >= 2) {
            if (IsPngSignature(first))
                found = MapFormat::Png;
            else if (first[0] == 'B' && first[1] == 'M')
                found = MapFormat::Bmp;
        }
    }
    // A file that cannot be opened is refused by the reader, with its reason.
    const bool read = found == MapFormat::Png ? ReadPngFile(path, bitmap, error)
                                              : ReadBitmapFile(path, bitmap, error);
    if (read && format)
        *format = found;
    return read;
}

bool WriteMapFile(const std::filesystem::path& path, const gdi::Bitmap& bitmap, MapFormat format,
                  BitmapError* error) {
    return format == MapFormat::Png ? WritePngFile(path, bitmap, error)
                                    : WriteBitmapFile(path, bitmap, error);
}

}  // namespace zk
