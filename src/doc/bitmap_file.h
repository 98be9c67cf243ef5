// Windows bitmap (.bmp) files and packed device-independent bitmaps (DIBs): the only ways an
// image enters or leaves the program. Maps and patterns share this reader and writer.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "gdi/bitmap.h"
#include "gdi/dc.h"
#include "gdi/types.h"

namespace zk {

enum class BitmapErrorCode {
    None,
    CannotOpen,   // the file could not be opened or read
    NotBitmap,    // no "BM" signature
    Truncated,    // the file ends before the data its headers announce
    BadHeader,    // a header field that no bitmap can have (negative width, planes != 1, ...)
    Unsupported,  // a valid file in a form we do not read (2 bits per pixel, embedded JPEG, ...)
    TooLarge,     // more than kMaxBitmapSide pixels a side or kMaxBitmapPixels in all
    BadData,      // pixel data that contradicts its header (zero bit-field mask, ...)
    OutOfMemory,  // memory for the image could not be had
    EmptyBitmap,  // asked to convert or write a bitmap that holds no image
    CannotWrite,  // the file could not be created, written or put in place
};

// Why an operation failed: a code to branch on and an English sentence to show the user.
struct BitmapError {
    BitmapErrorCode code = BitmapErrorCode::None;
    std::string message;
};

// The largest image the readers accept, the same bound the map size dialog uses.
inline constexpr int kMaxBitmapSide = 65535;
inline constexpr std::int64_t kMaxBitmapPixels = std::int64_t{1} << 28;

// Whether a picture of that size (sides of at least 1) stays within the limits above.
constexpr bool WithinBitmapLimits(std::int64_t width, std::int64_t height) {
    return width <= kMaxBitmapSide && height <= kMaxBitmapSide &&
           width * height <= kMaxBitmapPixels;
}
// Why a picture of that size is refused: "image too large: W x H (limit ...)".
inline std::string TooLargeText(std::int64_t width, std::int64_t height) {
    return "image too large: " + std::to_string(width) + " x " + std::to_string(height) +
           " (limit " + std::to_string(kMaxBitmapSide) + " pixels a side, " +
           std::to_string(kMaxBitmapPixels) + " pixels)";
}

// Reads a .bmp file into `bitmap`, which always becomes a display-format (32 bits per pixel)
// bitmap, whatever the file's depth. `bitmap` is emptied first and stays empty on failure; the
// reason goes to `error` when given.
//
// Read: 1, 4, 8, 16, 24 and 32 bits per pixel; RLE8 and RLE4; bit-field masks (compression 3, and
// 6 with an alpha mask, which is ignored) for 16 and 32 bits per pixel; the 12-byte OS/2 core
// header, the 16- and 64-byte OS/2 version 2 headers and the 40, 52, 56, 108 and 124-byte
// Windows headers; bottom-up and top-down rows; colour tables shorter than the depth allows.
// Refused with a reason: 2 and 64 bits per pixel, embedded JPEG or PNG, OS/2 Huffman and RLE24
// compression, RLE with top-down rows, zero or broken masks, images over the size limits, and any
// file whose data does not fit in it.
//
// Pixel data is taken from the file header's pixel-offset field when that points past the headers
// and the colour table start and the pixel data fits in the file from there; otherwise from right
// after the colour table. A colour table that would run into the pixel data is cut short there.
// Pixel values past the end of the colour table read as black, as do pixels an RLE stream skips.
//
// The signature and the headers are checked from the file's first bytes before anything else is
// read; then only what they promise is read (at most 256 table entries, the rows, or as much
// run-length data as an image of that size can need), however long the file is.
bool ReadBitmapFile(const std::filesystem::path& path, gdi::Bitmap& bitmap,
                    BitmapError* error = nullptr);

// Writes `bitmap` as a .bmp file with a colour table: 8 bits per pixel with a full 256-entry
// table for a display-format bitmap, 1 bit per pixel with a black-and-white table for a
// monochrome bitmap. The 8-bit table keeps every colour exactly when there are at most 256 of
// them; only a bitmap of more colours is reduced to the platform's default table (see
// ColorTable). The file replaces any old one atomically (AtomicFile), so a failure leaves the
// old file as it was. An empty bitmap fails before any file is created.
bool WriteBitmapFile(const std::filesystem::path& path, const gdi::Bitmap& bitmap,
                     BitmapError* error = nullptr);

// The packed DIB of `bitmap` (40-byte header, colour table, bottom-up rows padded to 4 bytes), in
// the form WriteBitmapFile writes after its 14-byte file header, with the same colour table;
// nullopt for an empty bitmap.
std::optional<std::vector<std::uint8_t>> BitmapToDib(const gdi::Bitmap& bitmap,
                                                     BitmapError* error = nullptr);

// Decodes a packed DIB (any header and format ReadBitmapFile reads, pixel data right after the
// header, masks and colour table) into a display-format bitmap. Same failure rules as the reader.
bool DibToBitmap(std::span<const std::uint8_t> dib, gdi::Bitmap& bitmap,
                 BitmapError* error = nullptr);

// `destination` becomes an exact copy of `source`: size, bits per pixel and pixels.
void CopyBitmap(const gdi::Bitmap& source, gdi::Bitmap& destination);

// Draws the `source` rectangle of the packed DIB (top-down image coordinates, as the bitmap it
// decodes to) into the `destination` rectangle of `dc`, stretched with COLORONCOLOR, which it
// leaves selected in `dc`. Returns the number of rows drawn from the DIB, 0 when the block is
// empty or undecodable or nothing could be drawn.
int PaintDib(gdi::DC& dc, const gdi::Rect& destination, std::span<const std::uint8_t> dib,
             const gdi::Rect& source);

// Helpers on a packed DIB with a 12-byte core header or a 40-byte (or longer) info header. A block
// too short for its header answers 0 (nullptr for DibBits).
// Entries in the colour table: the colours-used field when set, else 2, 16 or 256 for 1, 4 or 8
// bits per pixel, else 0.
std::uint32_t DibNumColors(std::span<const std::uint8_t> dib);
// Bytes of the colour table: 3 per entry after a core header, 4 otherwise.
std::uint64_t DibPaletteSize(std::span<const std::uint8_t> dib);
// The height field: signed (negative for top-down rows) in an info header, 16-bit in a core one.
int DibHeight(std::span<const std::uint8_t> dib);
// The first byte of the pixel rows: after the header, the bit-field masks of a 40-byte header
// with compression 3 or 6, and the colour table; nullptr when that lies past the block's end.
const std::uint8_t* DibBits(std::span<const std::uint8_t> dib);

}  // namespace zk
