#include "doc/file_reader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace zk {

std::int64_t ReadAt(int fd, std::uint8_t* p, std::uint64_t n, std::uint64_t offset) {
    std::uint64_t got = 0;
    while (got < n) {
        const ssize_t done = ::pread(fd, p + got, std::min<std::uint64_t>(n - got, 1u << 30),
                                     static_cast<off_t>(offset + got));
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (done == 0)
            break;
        got += static_cast<std::uint64_t>(done);
    }
    return static_cast<std::int64_t>(got);
}

bool FileReader::Ensure(std::size_t n) {
    const auto held = static_cast<std::size_t>(m_end - m_p);
    if (held >= n)
        return true;
    if (m_failure != Failure::None || n - held > m_left)
        return false;
    // What is not used yet moves to the front, and a band is read after it (no more than the
    // stretch has left: a small file costs a small buffer).
    const std::size_t capacity =
        std::max<std::size_t>(n, std::min<std::uint64_t>(kBandBytes, held + m_left));
    if (m_buffer.size() < capacity)
        m_buffer.resize(capacity);
    if (held > 0)
        std::memmove(m_buffer.data(), m_p, held);
    const std::uint64_t want = std::min<std::uint64_t>(m_left, capacity - held);
    const std::int64_t got = ReadAt(m_fd, m_buffer.data() + held, want, m_next);
    if (got < 0) {
        m_failure = Failure::ReadError;
        m_errno = errno;
        return false;
    }
    if (static_cast<std::uint64_t>(got) < want) {
        m_failure = Failure::Shrank;
        return false;
    }
    m_next += want;
    m_left -= want;
    m_p = m_buffer.data();
    m_end = m_p + held + want;
    return true;
}

void FileReader::Skip(std::size_t n) {
    while (n > 0) {
        if (m_p == m_end && !Ensure(1))
            return;
        const auto step = std::min(n, static_cast<std::size_t>(m_end - m_p));
        m_p += step;
        n -= step;
    }
}

}  // namespace zk
