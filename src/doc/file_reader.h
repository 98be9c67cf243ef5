// Reading a stretch of a file a band at a time, so that what is read from it is never held
// whole: a large picture is decoded as its rows arrive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zk {

// Reads `n` bytes at `offset` of the file `fd` into `p`; fewer only at the end of the file.
// -1 on an error (errno says which).
std::int64_t ReadAt(int fd, std::uint8_t* p, std::uint64_t n, std::uint64_t offset);

// The `length` bytes of a file from `offset` on, all of which the file's size promised when the
// reader was made. At most a band (kBandBytes, and what is asked for at once) is held at a time.
class FileReader {
  public:
    static constexpr std::size_t kBandBytes = std::size_t{4} << 20;

    enum class Failure {
        None,       // every read so far gave what was asked
        ReadError,  // the file could not be read (Errno() says why)
        Shrank,     // the file ended before the stretch did: it is shorter than it was
    };

    FileReader(int fd, std::uint64_t offset, std::uint64_t length)
        : m_fd(fd), m_next(offset), m_left(length) {}

    // Makes `n` more bytes available from Data() on, reading on as needed. False when the
    // stretch ends first (GetFailure() is None then) or a read fails.
    bool Ensure(std::size_t n);
    const std::uint8_t* Data() const { return m_p; }
    // Moves on by `n` bytes, reading on as needed; stops at the end of the stretch or a failure.
    void Skip(std::size_t n);

    Failure GetFailure() const { return m_failure; }
    int Errno() const { return m_errno; }

  private:
    int m_fd;
    std::uint64_t m_next;  // the file offset of the next byte to read
    std::uint64_t m_left;  // bytes of the stretch not read yet
    std::vector<std::uint8_t> m_buffer;
    const std::uint8_t* m_p = nullptr;
    const std::uint8_t* m_end = nullptr;
    Failure m_failure = Failure::None;
    int m_errno = 0;
};

}  // namespace zk
