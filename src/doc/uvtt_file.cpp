#include "doc/uvtt_file.h"

#include <charconv>
#include <cstdint>
#include <new>
#include <span>

#include "doc/atomic_file.h"
#include "doc/dib_format.h"
#include "doc/png_file.h"

namespace zk {

namespace {

using dib::Fail;

void AppendBase64(std::string& out, std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t v =
            (std::uint32_t{bytes[i]} << 16) | (std::uint32_t{bytes[i + 1]} << 8) | bytes[i + 2];
        out += kDigits[v >> 18];
        out += kDigits[(v >> 12) & 63];
        out += kDigits[(v >> 6) & 63];
        out += kDigits[v & 63];
    }
    if (const std::size_t left = bytes.size() - i; left > 0) {
        const std::uint32_t v =
            (std::uint32_t{bytes[i]} << 16) | (left == 2 ? std::uint32_t{bytes[i + 1]} << 8 : 0);
        out += kDigits[v >> 18];
        out += kDigits[(v >> 12) & 63];
        out += left == 2 ? kDigits[(v >> 6) & 63] : '=';
        out += '=';
    }
}

// A number as JSON writes it: the shortest digits that read back as the same double.
std::string Number(double v) {
    char buf[32];
    const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
    return std::string(buf, end);
}

}  // namespace

std::optional<std::string> BitmapToUvtt(const gdi::Bitmap& bitmap, int gridStep,
                                        BitmapError* error) {
    if (gridStep < 1) {
        Fail(error, BitmapErrorCode::BadData,
             "a grid step of " + std::to_string(gridStep) + " pixels: it must be at least 1");
        return std::nullopt;
    }
    const std::optional<std::vector<std::uint8_t>> png = BitmapToPng(bitmap, error);
    if (!png)
        return std::nullopt;
    try {
        const double step = gridStep;
        std::string text;
        text.reserve(png->size() / 3 * 4 + 400);
        text += "{\n  \"format\": 0.3,\n  \"resolution\": {\n";
        text += "    \"map_origin\": {\"x\": 0, \"y\": 0},\n";
        text += "    \"map_size\": {\"x\": " + Number(bitmap.Width() / step) +
                ", \"y\": " + Number(bitmap.Height() / step) + "},\n";
        text += "    \"pixels_per_grid\": " + std::to_string(gridStep) + "\n  },\n";
        text += "  \"line_of_sight\": [],\n  \"portals\": [],\n  \"lights\": [],\n";
        text += "  \"image\": \"";
        AppendBase64(text, *png);
        text += "\"\n}\n";
        return text;
    } catch (const std::bad_alloc&) {
        Fail(error, BitmapErrorCode::OutOfMemory, "out of memory for the Universal VTT file");
        return std::nullopt;
    }
}

bool WriteUvttFile(const std::filesystem::path& path, const gdi::Bitmap& bitmap, int gridStep,
                   BitmapError* error) {
    const std::optional<std::string> text = BitmapToUvtt(bitmap, gridStep, error);
    if (!text)
        return false;
    std::string why;
    if (!AtomicFile::Replace(
            path, {reinterpret_cast<const std::uint8_t*>(text->data()), text->size()}, &why))
        return Fail(error, BitmapErrorCode::CannotWrite, why);
    return true;
}

}  // namespace zk
