// One input, five roads into the program: the bytes as a bitmap file, as a packed DIB (whole,
// and past a file header), the writer on whatever was read (written, read back, compared), the
// pattern library loading the bytes as a brush file, editing it and writing it back, and the
// bytes as a PNG file, from a file and from memory, whose picture must come back exactly from
// the PNG writer. Any crash, sanitizer report or broken round trip is a finding.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "doc/bitmap_file.h"
#include "doc/color_table.h"
#include "doc/pattern_library.h"
#include "doc/png_file.h"
#include "gdi/dc.h"

namespace {

namespace fs = std::filesystem;

// Round trips are checked on pictures up to this size; larger ones only slow the search.
constexpr std::uint64_t kMaxCheckedPixels = std::uint64_t{1} << 20;
// Run-length pictures larger than this are left out: a few bytes of stream fill any size, and
// the reader's limits on size have tests of their own.
constexpr std::uint64_t kMaxRlePixels = std::uint64_t{1} << 16;
// PNG pictures larger than this too: a few kilobytes of one-bit rows claim a hundred megabytes
// of pixels, honestly, and each such input would cost a second.
constexpr std::uint64_t kMaxPngPixels = std::uint64_t{1} << 22;

[[noreturn]] void Finding(const char* what) {
    std::fprintf(stderr, "finding: %s\n", what);
    std::abort();
}

// Where the inputs become files: memory only, where there is a memory filesystem.
struct Scratch {
    fs::path dir;
    int memfd = -1;
    std::string memPath;

    Scratch() {
        std::error_code ec;
        const fs::path base = fs::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0
                                  ? fs::path("/dev/shm")
                                  : fs::temp_directory_path();
        dir = base / ("zk_fuzz_" + std::to_string(::getpid()));
        fs::create_directories(dir / "patterns");
        memfd = ::memfd_create("zk_fuzz_input", MFD_CLOEXEC);
        memPath = "/proc/self/fd/" + std::to_string(memfd);
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(dir, ec);
        if (memfd >= 0)
            ::close(memfd);
    }
    // The input as a file; its path.
    std::string AsFile(const std::uint8_t* data, std::size_t size) const {
        if (::ftruncate(memfd, 0) != 0 ||
            (size > 0 && ::pwrite(memfd, data, size, 0) != static_cast<ssize_t>(size)))
            Finding("cannot hold the input in memory");
        return memPath;
    }
};

std::uint32_t Le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// A run-length header promising a huge picture: valid, and a few bytes of stream fill it, but
// each such input would cost a gigabyte and seconds.
bool PromisesHugeRle(const std::uint8_t* dib, std::size_t size) {
    if (size < 20 || Le32(dib) == 12)
        return false;
    const std::uint32_t compression = Le32(dib + 16);
    if (compression != 1 && compression != 2)
        return false;
    const std::uint64_t w = static_cast<std::uint64_t>(
        std::abs(std::int64_t{static_cast<std::int32_t>(Le32(dib + 4))}));
    const std::uint64_t h = static_cast<std::uint64_t>(
        std::abs(std::int64_t{static_cast<std::int32_t>(Le32(dib + 8))}));
    return w * h > kMaxRlePixels;
}

std::uint32_t Be32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

// A PNG header (right after the signature, as it must be) claiming a huge picture.
bool PromisesHugePng(const std::uint8_t* data, std::size_t size) {
    if (size < 24 || !zk::IsPngSignature({data, size}))
        return false;
    return std::uint64_t{Be32(data + 16)} * Be32(data + 20) > kMaxPngPixels;
}

// Read from a file and from memory alike; what reads comes back exactly from the PNG writer.
void CheckPng(const Scratch& s, const std::uint8_t* data, std::size_t size) {
    gdi::Bitmap fromFile, fromMemory;
    zk::BitmapError fileError, memoryError;
    const bool file = zk::ReadPngFile(s.AsFile(data, size), fromFile, &fileError);
    const bool memory = zk::PngToBitmap({data, size}, fromMemory, &memoryError);
    if (file != memory || !(fromFile == fromMemory) || fileError.code != memoryError.code)
        Finding("a PNG file and the same bytes in memory read differently");
    if (!file) {
        if (fileError.message.empty() || fileError.code == zk::BitmapErrorCode::None)
            Finding("a PNG refused without a reason");
        return;
    }
    if (fromFile.PixelCount() > kMaxCheckedPixels)
        return;
    const auto png = zk::BitmapToPng(fromFile);
    if (!png)
        Finding("a picture that was read cannot be written as PNG");
    gdi::Bitmap back;
    if (!zk::PngToBitmap(*png, back) || !(back == fromFile))
        Finding("a PNG we wrote does not read back as the picture it was made from");
}

bool InDefaultTable(gdi::Color c) {
    for (gdi::Color e : zk::ColorTable::Default())
        if (e == c)
            return true;
    return false;
}

// Written and read back: every pixel exactly when there are at most 256 colours, else each
// pixel one of the default table's.
void CheckRoundTrip(const Scratch& s, const gdi::Bitmap& read) {
    if (read.PixelCount() > kMaxCheckedPixels)
        return;
    const bool exact = zk::CountColors(read, 256) <= 256;
    const auto dib = zk::BitmapToDib(read);
    if (!dib)
        Finding("a bitmap that was read cannot be converted");
    gdi::Bitmap back;
    if (!zk::DibToBitmap(*dib, back))
        Finding("our own DIB does not decode");
    if (back.Width() != read.Width() || back.Height() != read.Height())
        Finding("the size changed on the way through a DIB");
    if (exact && !(back == read))
        Finding("colours changed although there are at most 256");
    if (!exact)
        for (std::size_t i = 0; i < back.PixelCount(); ++i)
            if (!InDefaultTable(back.Data()[i]))
                Finding("a reduced colour is not in the default table");

    const fs::path out = s.dir / "out.bmp";
    zk::BitmapError error;
    if (!zk::WriteBitmapFile(out, read, &error))
        Finding("the writer failed on a writable folder");
    gdi::Bitmap fromFile;
    if (!zk::ReadBitmapFile(out, fromFile) || !(fromFile == back))
        Finding("the written file does not read back as its DIB");
}

void WriteRaw(const fs::path& p, const std::uint8_t* data, std::size_t size) {
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// The bytes as brush 1 among the library's files: loaded, drawn with, edited and written back,
// and the edit found in the file.
void CheckPatternLibrary(const Scratch& s, const std::uint8_t* data, std::size_t size) {
    const fs::path dir = s.dir / "patterns";
    WriteRaw(dir / "brush1.bmp", data, size);
    zk::PatternLibrary lib;
    lib.Load(dir.string() + "/");
    gdi::Bitmap canvas(24, 24, 32, gdi::kWhite);
    gdi::DC dc(&canvas);
    dc.FillRect({1, 2, 23, 21}, lib.BrushPattern(1));

    // A file that does not read as a pattern is kept as it is, and so its edit is reported.
    gdi::Bitmap asRead;
    const bool readable = zk::ReadBitmapFile(dir / "brush1.bmp", asRead) &&
                          asRead.Width() <= zk::PatternLibrary::kMaxSide &&
                          asRead.Height() <= zk::PatternLibrary::kMaxSide;
    gdi::Bitmap& brush = lib.m_brushes[1];
    brush.SetPixel(0, 0, brush.GetPixel(0, 0) ^ 0xFFFFFF);
    const auto failures = lib.SaveAll();
    if (readable && !failures.empty())
        Finding("pattern files could not be written to a writable folder");
    if (!readable && (failures.size() != 1 || failures[0].path != lib.BrushPath(1)))
        Finding("the edit of an unreadable brush was not reported, or others were");
    if (!readable || brush.PixelCount() > kMaxCheckedPixels || zk::CountColors(brush, 256) > 256)
        return;
    gdi::Bitmap back;
    if (!zk::ReadBitmapFile(dir / "brush1.bmp", back) || !(back == brush))
        Finding("an edited brush did not come back from its file");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Scratch scratch;
    const bool asFile = !(size >= 14 && PromisesHugeRle(data + 14, size - 14));

    if (asFile) {
        gdi::Bitmap read;
        const bool readable = zk::ReadBitmapFile(scratch.AsFile(data, size), read);
        if (readable)
            CheckRoundTrip(scratch, read);
        // A file the reader refuses gives the slot its fallback whatever the reason, which one
        // such input shows; the library's work is worth repeating only for pictures.
        static bool refusedSeen = false;
        if (readable || !refusedSeen)
            CheckPatternLibrary(scratch, data, size);
        refusedSeen = refusedSeen || !readable;
    }
    if (!PromisesHugeRle(data, size)) {
        gdi::Bitmap dib;
        if (zk::DibToBitmap({data, size}, dib))
            CheckRoundTrip(scratch, dib);
    }
    if (asFile && size >= 14) {
        gdi::Bitmap dib;
        zk::DibToBitmap({data + 14, size - 14}, dib);
    }
    if (!PromisesHugePng(data, size))
        CheckPng(scratch, data, size);
    return 0;
}
