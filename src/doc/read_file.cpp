#include "doc/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "doc/dib_format.h"
#include "doc/file_reader.h"

namespace zk {

ReadFile::~ReadFile() {
    if (fd >= 0)
        ::close(fd);
}

bool ReadFile::Open(const std::filesystem::path& path, BitmapError* error) {
    using dib::Fail;
    const auto fail = [&](const char* what) {
        return Fail(error, BitmapErrorCode::CannotOpen, std::string("cannot open file: ") + what);
    };
    // Non-blocking so that a FIFO given as a path cannot hang the open; regular files ignore it.
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return fail(std::strerror(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return fail(std::strerror(errno));
    if (S_ISDIR(st.st_mode))
        return fail(std::strerror(EISDIR));
    if (!S_ISREG(st.st_mode))
        return fail("not a regular file");
    size = static_cast<std::uint64_t>(st.st_size);
    return true;
}

std::int64_t ReadFile::ReadAt(std::uint8_t* p, std::uint64_t n, std::uint64_t offset) const {
    return zk::ReadAt(fd, p, n, offset);
}

bool ReadFile::CannotRead(BitmapError* error) const {
    return CannotRead(error, errno);
}

bool ReadFile::CannotRead(BitmapError* error, int err) {
    return dib::Fail(error, BitmapErrorCode::CannotOpen,
                     std::string("cannot read file: ") + std::strerror(err));
}

bool ReadFile::Shrank(BitmapError* error) {
    return dib::Fail(error, BitmapErrorCode::Truncated, "file is truncated (it shrank while read)");
}

}  // namespace zk
