// Replacing a file when the writer is killed half-way: the old file stays whole, and nothing
// partial is left under any name, or what is left goes at the next save in that folder.
#include "doc/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "doc/bitmap_file_test_support.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using zk::AtomicFile;
using zk_test::Bytes;
using zk_test::TempDir;

// The process's state letter in /proc (T once a stop has taken effect).
char ProcessState(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const auto close = line.rfind(')');
    return close == std::string::npos || close + 2 >= line.size() ? '?' : line[close + 2];
}

// Whether the process has a file in `dir` open (not the folder itself): it is writing one. With
// `unnamedOnly`, only a file that has no name yet counts.
bool WritingIn(pid_t pid, const fs::path& dir, bool unnamedOnly) {
    std::error_code ec;
    const std::string prefix = dir.string() + "/";
    for (const auto& e : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec)) {
        const fs::path target = fs::read_symlink(e.path(), ec);
        const std::string t = target.string();
        if (!ec && t.rfind(prefix, 0) == 0 && (!unnamedOnly || t.ends_with(" (deleted)")))
            return true;
    }
    return false;
}

// Starts a child that replaces `target` with `data` over and over, and kills it while it is
// stopped in the middle of a write. True once that happened.
bool KillMidWrite(const fs::path& target, const Bytes& data, AtomicFile::Temporary how) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        while (true)
            AtomicFile::Replace(target, data, nullptr, how);
    }
    const bool unnamedOnly = how == AtomicFile::Temporary::Unnamed;
    bool killed = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!killed && std::chrono::steady_clock::now() < deadline) {
        if (!WritingIn(pid, target.parent_path(), unnamedOnly))
            continue;
        ::kill(pid, SIGSTOP);
        while (ProcessState(pid) != 'T')
            std::this_thread::yield();
        if (WritingIn(pid, target.parent_path(), unnamedOnly)) {
            ::kill(pid, SIGKILL);
            killed = true;
        } else {
            ::kill(pid, SIGCONT);
        }
    }
    if (!killed)
        ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return killed;
}

bool FolderHasUnnamedFiles(const fs::path& dir) {
    const int fd = ::open(dir.c_str(), O_TMPFILE | O_WRONLY, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

TEST(AtomicFile, AWriteKilledHalfWayLeavesTheOldFileAndNoPartialOne) {
    const Bytes oldData(1000, 0x11);
    const Bytes newData(16 << 20, 0x22);  // long enough a write to be caught in
    const struct {
        AtomicFile::Temporary how;
        const char* what;
    } cases[] = {
        {AtomicFile::Temporary::Unnamed, "unnamed temporary"},
        {AtomicFile::Temporary::Named, "named temporary"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        if (c.how == AtomicFile::Temporary::Unnamed && !FolderHasUnnamedFiles(dir.Path())) {
            ADD_FAILURE() << "no unnamed files on " << dir.Path() << "'s filesystem; not tested";
            continue;
        }
        const fs::path target = dir / "map.bmp";
        for (int round = 0; round < 3; ++round) {
            zk_test::WriteFileBytes(target, oldData);
            ASSERT_TRUE(KillMidWrite(target, newData, c.how)) << "never caught writing";
            const Bytes now = zk_test::ReadFileBytes(target);
            EXPECT_TRUE(now == oldData || now == newData) << "map of " << now.size() << " bytes";
            std::vector<std::string> entries = dir.Entries();
            if (c.how == AtomicFile::Temporary::Named) {
                // The killed write's file, which the next replacement in the folder removes.
                ASSERT_EQ(entries.size(), 2u);
                std::erase(entries, "map.bmp");
                EXPECT_TRUE(AtomicFile::IsTemporaryName(entries[0])) << entries[0];
                ASSERT_TRUE(AtomicFile::Replace(dir / "other.bmp", oldData, nullptr, c.how));
                fs::remove(dir / "other.bmp");
                entries = dir.Entries();
            }
            EXPECT_EQ(entries, std::vector<std::string>{"map.bmp"});
        }
    }
}

// Content made piece by piece while it is written: the pieces in order become the file, and a
// maker that gives up half-way leaves the old file and nothing beside it, with its reason.
TEST(AtomicFile, ContentWrittenInPiecesOrNotAtAll) {
    for (const auto how : {AtomicFile::Temporary::Unnamed, AtomicFile::Temporary::Named}) {
        TempDir dir;
        const fs::path target = dir / "map.bmp";
        const Bytes old(1000, 0x11);
        zk_test::WriteFileBytes(target, old);
        const Bytes a(3 << 20, 0xA1), b(17, 0xB2), c(1 << 20, 0xC3);
        std::string why;
        ASSERT_TRUE(AtomicFile::Replace(
            target,
            [&](const AtomicFile::Writer& write) { return write(a) && write(b) && write(c); }, &why,
            "unused", how))
            << why;
        Bytes whole = a;
        whole.insert(whole.end(), b.begin(), b.end());
        whole.insert(whole.end(), c.begin(), c.end());
        EXPECT_TRUE(zk_test::ReadFileBytes(target) == whole);

        zk_test::WriteFileBytes(target, old);
        EXPECT_FALSE(AtomicFile::Replace(
            target, [&](const AtomicFile::Writer& write) { return write(a) && write(b) && false; },
            &why, "the rows ran out", how));
        EXPECT_EQ(why, "cannot write file: the rows ran out");
        EXPECT_EQ(zk_test::ReadFileBytes(target), old);
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"map.bmp"});
    }
}

TEST(AtomicFile, TemporaryNamesAreKnownByTheirShape) {
    const struct {
        const char* name;
        bool temporary;
    } cases[] = {
        {".zk-tmp.4242.a1B2c3", true}, {".zk-tmp.1.zzzzzz", true},  {".zk-tmp..a1B2c3", false},
        {".zk-tmp.42x.a1B2c3", false}, {".zk-tmp.42.a1B2c", false}, {"map.bmp.tmpa1B2c3", false},
        {"zk-tmp.42.a1B2c3", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AtomicFile::IsTemporaryName(c.name), c.temporary) << c.name;
}

}  // namespace
