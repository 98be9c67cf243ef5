#include "doc/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <random>

namespace zk {

namespace {

namespace fs = std::filesystem;

constexpr char kPrefix[] = ".zk-tmp.";
constexpr std::size_t kPrefixLength = sizeof kPrefix - 1;

bool Fail(std::string* why, int err) {
    if (why)
        *why = std::string("cannot write file: ") + std::strerror(err);
    return false;
}

struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0)
            ::close(fd);
    }
};

bool WriteAll(int fd, const std::uint8_t* p, std::size_t n) {
    while (n > 0) {
        const ssize_t done = ::write(fd, p, std::min<std::size_t>(n, std::size_t{1} << 30));
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (done == 0) {
            errno = EIO;
            return false;
        }
        p += done;
        n -= static_cast<std::size_t>(done);
    }
    return true;
}

std::string RandomSuffix() {
    static constexpr char kChars[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::mt19937 rng{std::random_device{}()};
    std::uniform_int_distribution<int> pick(0, sizeof kChars - 2);
    std::string s(6, 'x');
    for (char& c : s)
        c = kChars[pick(rng)];
    return s;
}

std::string TemporaryStem() {
    return std::string(kPrefix) + std::to_string(::getpid()) + ".";
}

// Gives the complete unnamed file a recognisable name in `dir`, for the rename.
bool LinkUnnamed(int fd, const fs::path& dir, fs::path& name) {
    const std::string proc = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = dir / (TemporaryStem() + RandomSuffix());
        if (::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        if (errno == EEXIST)
            continue;
        // Without /proc, the descriptor itself (which needs a privilege most users lack).
        if (errno == ENOENT && ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0)
            return true;
        return false;
    }
    errno = EEXIST;
    return false;
}

}  // namespace

bool AtomicFile::IsTemporaryName(const std::string& name) {
    if (name.size() < kPrefixLength + 1 + 1 + 6 || name.compare(0, kPrefixLength, kPrefix) != 0)
        return false;
    const std::size_t dot = name.size() - 7;
    if (name[dot] != '.' || dot == kPrefixLength)
        return false;
    return std::all_of(name.begin() + kPrefixLength, name.begin() + static_cast<long>(dot),
                       [](char c) { return c >= '0' && c <= '9'; });
}

int AtomicFile::RemoveLeftovers(const fs::path& folder) {
    DIR* d = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!d)
        return 0;
    int removed = 0;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (!IsTemporaryName(name))
            continue;
        const long pid = std::strtol(name.c_str() + kPrefixLength, nullptr, 10);
        // One still being written, by this process or another that runs.
        if (pid <= 0 || pid == ::getpid())
            continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM)
            continue;
        const fs::path p = folder / name;
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
            continue;
        if (::unlink(p.c_str()) == 0)
            ++removed;
    }
    ::closedir(d);
    return removed;
}

bool AtomicFile::Replace(const fs::path& path, std::span<const std::uint8_t> data, std::string* why,
                         Temporary how) {
    return Replace(
        path, [data](const Writer& write) { return write(data); }, why, {}, how);
}

bool AtomicFile::Replace(const fs::path& path, const std::function<bool(const Writer&)>& produce,
                         std::string* why, const std::string& givenUp, Temporary how) {
    // Replace what a symbolic link points at, not the link.
    fs::path target = path;
    std::error_code ec;
    if (fs::is_symlink(path, ec)) {
        const fs::path resolved = fs::weakly_canonical(path, ec);
        if (!ec)
            target = resolved;
    }
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");

    // The new file keeps the permissions and owner of the one it replaces; a new one gets the
    // usual permissions. The new file takes the old one's place by a rename, which the folder
    // allows whatever the file's own permissions say: a file the user may not write, or has
    // marked read-only, is refused here as an editor refuses it, and stays as it is.
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    mode_t mode;
    if (exists) {
        if (S_ISDIR(old.st_mode))
            return Fail(why, EISDIR);
        if ((old.st_mode & 0222) == 0) {
            if (why)
                *why = "cannot write file: the file is read-only";
            return false;
        }
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return Fail(why, errno);
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    RemoveLeftovers(dir);

    Fd file;
    fs::path name;  // the temporary's name, once it has one
    const auto abandon = [&](int err) {
        if (!name.empty())
            ::unlink(name.c_str());
        return Fail(why, err);
    };
    if (how == Temporary::Unnamed) {
        file.fd = ::open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        // Filesystems and kernels without unnamed files answer one of these.
        if (file.fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return Fail(why, errno);
    }
    if (file.fd < 0) {
        std::string tmpl = (dir / (TemporaryStem() + "XXXXXX")).native();
        file.fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
        if (file.fd < 0)
            return Fail(why, errno);
        name = tmpl;
    }

    if (exists) {
        // Best effort: only a privileged user may give a file away.
        [[maybe_unused]] const int ignored = ::fchown(file.fd, old.st_uid, old.st_gid);
    }
    if (::fchmod(file.fd, mode) != 0)
        return abandon(errno);
    int writeError = 0;
    const Writer write = [&file, &writeError](std::span<const std::uint8_t> piece) {
        if (writeError == 0 && !WriteAll(file.fd, piece.data(), piece.size()))
            writeError = errno != 0 ? errno : EIO;
        return writeError == 0;
    };
    if (!produce(write)) {
        if (writeError != 0)
            return abandon(writeError);
        abandon(0);
        if (why)
            *why = "cannot write file: " + givenUp;
        return false;
    }
    if (::fsync(file.fd) != 0)
        return abandon(errno);
    if (name.empty() && !LinkUnnamed(file.fd, dir, name)) {
        const int err = errno;
        name.clear();
        return abandon(err);
    }
    const int closed = ::close(file.fd);
    file.fd = -1;
    if (closed != 0)
        return abandon(errno);
    if (::rename(name.c_str(), target.c_str()) != 0)
        return abandon(errno);

    // Make the rename itself durable; the file is in place whether or not this succeeds.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

}  // namespace zk
