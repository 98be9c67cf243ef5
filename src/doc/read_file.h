// A picture file opened for reading, as every reader of the document layer opens one: refused
// with a reason unless it is a regular file, and read by offset.
#pragma once

#include <cstdint>
#include <filesystem>

#include "doc/bitmap_file.h"

namespace zk {

class ReadFile {
  public:
    ReadFile() = default;
    ReadFile(const ReadFile&) = delete;
    ReadFile& operator=(const ReadFile&) = delete;
    ~ReadFile();

    // Opens `path`; false with the reason ("cannot open file: ...") when it cannot be opened or
    // is not a regular file (a folder, a device, a FIFO, which never blocks the open).
    bool Open(const std::filesystem::path& path, BitmapError* error);
    // Reads `n` bytes at `offset`; fewer only at the end of the file, -1 on an error (errno says
    // which).
    std::int64_t ReadAt(std::uint8_t* p, std::uint64_t n, std::uint64_t offset) const;
    // The failure of a read just now: false, with "cannot read file: ..." from errno.
    bool CannotRead(BitmapError* error) const;
    // The same for the error `err` of a read made elsewhere.
    static bool CannotRead(BitmapError* error, int err);
    // A file that ended before the size it had when it was opened: false, and why.
    static bool Shrank(BitmapError* error);

    int fd = -1;
    std::uint64_t size = 0;  // as the file was when it was opened
};

}  // namespace zk
