// The file formats a map is kept in, BMP and PNG: which one a name or a file's first bytes say,
// and reading and writing either.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "doc/bitmap_file.h"
#include "gdi/bitmap.h"

namespace zk {

enum class MapFormat { Bmp, Png };

// The extension each format's files are named with, with its dot.
std::string_view MapExtension(MapFormat format);
// The format the name's extension stands for (in any case); nullopt for any other name.
std::optional<MapFormat> MapFormatOfName(const std::filesystem::path& path);

// Reads a map file of either format into `bitmap` (see ReadBitmapFile and ReadPngFile), the
// format told by the file's first bytes, whatever its name; `format` (when given) says which it
// was. A file that is neither is refused with the reason of the reader its name points to (the
// BMP reader's for any name that is not a .png).
bool ReadMapFile(const std::filesystem::path& path, gdi::Bitmap& bitmap,
                 MapFormat* format = nullptr, BitmapError* error = nullptr);
// Writes `bitmap` in that format, atomically (see WriteBitmapFile and WritePngFile).
bool WriteMapFile(const std::filesystem::path& path, const gdi::Bitmap& bitmap, MapFormat format,
                  BitmapError* error = nullptr);

}  // namespace zk
