// PNG files (through libpng): maps come in them from other programs and go out in them without
// losing a pixel. Failures are told as the bitmap files' are (BitmapError).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "doc/bitmap_file.h"
#include "gdi/bitmap.h"

namespace zk {

// Whether the bytes start with the eight bytes every PNG file starts with.
bool IsPngSignature(std::span<const std::uint8_t> bytes);

// Reads a PNG file into `bitmap`, which becomes a display-format bitmap; it is emptied first and
// stays empty on failure, the reason going to `error` when given.
//
// Every kind is read: palette, grey and RGB of every depth, with or without an alpha channel or a
// transparent colour, interlaced or not. 16 bits a channel are rounded to 8; transparency is laid
// on white. Colour-space chunks are ignored: the map keeps the file's numbers.
//
// The header is checked before any pixel memory is spent: a size over the limits is refused with
// that size, and so is a size the file is too short to hold even at the best compression there
// is. Truncated and corrupt files (bad checksums, broken compressed data, missing chunks) are
// refused with a reason. Ancillary chunks may not ask libpng for more than a few megabytes.
bool ReadPngFile(const std::filesystem::path& path, gdi::Bitmap& bitmap,
                 BitmapError* error = nullptr);
// The same for a PNG file held in memory.
bool PngToBitmap(std::span<const std::uint8_t> png, gdi::Bitmap& bitmap,
                 BitmapError* error = nullptr);

// The PNG file of `bitmap`: a palette image holding exactly the bitmap's colours when it has at
// most 256 (1, 2, 4 or 8 bits a pixel, the fewest that hold them), else 24-bit RGB; either way
// every pixel reads back as it was. nullopt for an empty bitmap or when memory runs out.
std::optional<std::vector<std::uint8_t>> BitmapToPng(const gdi::Bitmap& bitmap,
                                                     BitmapError* error = nullptr);
// Writes that file, replacing any old one atomically (AtomicFile): a failure leaves the old file
// as it was. An empty bitmap fails before any file is created.
bool WritePngFile(const std::filesystem::path& path, const gdi::Bitmap& bitmap,
                  BitmapError* error = nullptr);

}  // namespace zk
