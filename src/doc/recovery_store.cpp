#include "doc/recovery_store.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <random>
#include <utility>

#include "doc/bitmap_file.h"
#include "doc/map_file.h"
#include "doc/zk_doc.h"

namespace zk {

namespace fs = std::filesystem;

namespace {

long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// A file's size and modification time, to tell whether it is still the one a base was read
// from; false when it cannot be seen.
bool FileStamp(const std::string& path, long long& size, long long& mtime) {
    struct stat st = {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    size = static_cast<long long>(st.st_size);
    mtime = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    return true;
}

std::string LockFileOf(const std::string& file) {
    return file + ".lock";
}

// An exclusive lock on the lock file; -1 when another process holds it or it cannot be made.
int TakeLock(const std::string& lockFile) {
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::string DbError(sqlite3* db, const char* what) {
    return std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "out of memory");
}

bool Exec(sqlite3* db, const char* sql, std::string* why) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    if (why)
        *why = std::string(sql) + ": " + (message ? message : sqlite3_errmsg(db));
    sqlite3_free(message);
    return false;
}

// A prepared statement, finalized when it goes.
class Statement {
  public:
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr); }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return m_stmt; }
    explicit operator bool() const { return m_stmt != nullptr; }

  private:
    sqlite3_stmt* m_stmt = nullptr;
};

std::string Text(sqlite3_stmt* s, int column) {
    const unsigned char* t = sqlite3_column_text(s, column);
    return t ? reinterpret_cast<const char*>(t) : std::string();
}

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS meta(id INTEGER PRIMARY KEY CHECK(id = 1), version INTEGER, "
    "pid INTEGER, path TEXT, title TEXT, width INTEGER, height INTEGER, base INTEGER, "
    "base_size INTEGER, base_mtime INTEGER, changed INTEGER, dirty INTEGER, tiles INTEGER);"
    "CREATE TABLE IF NOT EXISTS tiles(idx INTEGER PRIMARY KEY, data BLOB NOT NULL);";

struct Grid {
    int cols = 0, rows = 0;
    static Grid Of(int width, int height) {
        return {(width + RecoveryStore::kTileSide - 1) / RecoveryStore::kTileSide,
                (height + RecoveryStore::kTileSide - 1) / RecoveryStore::kTileSide};
    }
    std::size_t Count() const { return static_cast<std::size_t>(cols) * rows; }
};

gdi::Rect TileRect(std::uint32_t index, int cols, int width, int height) {
    const int x =
        static_cast<int>(index % static_cast<std::uint32_t>(cols)) * RecoveryStore::kTileSide;
    const int y =
        static_cast<int>(index / static_cast<std::uint32_t>(cols)) * RecoveryStore::kTileSide;
    return {x, y, std::min(x + RecoveryStore::kTileSide, width),
            std::min(y + RecoveryStore::kTileSide, height)};
}

}  // namespace

std::unique_ptr<RecoveryStore> RecoveryStore::Create(const std::string& folder, std::string* why) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        if (why)
            *why = "cannot make " + folder + ": " + ec.message();
        return nullptr;
    }
    std::unique_ptr<RecoveryStore> store(new RecoveryStore());
    // The process id names the store for a reader; the random part keeps two processes of the
    // same id (in containers, say) apart.
    std::random_device rd;
    const std::string stem =
        (fs::path(folder) / (std::to_string(::getpid()) + "-" + std::to_string(rd() % 1000000)))
            .string();
    store->m_file = stem + kExtension;
    store->m_lockFile = LockFileOf(store->m_file);
    store->m_lockFd = TakeLock(store->m_lockFile);
    if (store->m_lockFd < 0) {
        if (why)
            *why = "cannot lock " + store->m_lockFile + ": " + std::strerror(errno);
        return nullptr;
    }
    std::string e;
    if (sqlite3_open_v2(store->m_file.c_str(), &store->m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        e = DbError(store->m_db, "cannot open the store");
    } else if (Exec(store->m_db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;", &e)) {
        Exec(store->m_db, kSchema, &e);
    }
    if (!e.empty()) {
        if (why)
            *why = e;
        sqlite3_close(store->m_db);
        store->m_db = nullptr;
        Remove(store->m_file);
        return nullptr;
    }
    store->m_writer = std::thread([s = store.get()] { s->WriterLoop(); });
    return store;
}

RecoveryStore::~RecoveryStore() {
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    if (m_writer.joinable())
        m_writer.join();
    if (m_db)
        sqlite3_close(m_db);
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

void RecoveryStore::Track(const gdi::Bitmap& map) {
    const Grid g = Grid::Of(map.Width(), map.Height());
    m_meta.width = map.Width();
    m_meta.height = map.Height();
    m_cols = g.cols;
    m_rows = g.rows;
    m_marked.assign(g.Count(), 0);
    m_dirty.clear();
    m_stored.assign(g.Count(), 0);
    m_meta.tiles = 0;
}

void RecoveryStore::MarkAll() {
    m_dirty.clear();
    for (std::size_t i = 0; i < m_marked.size(); ++i) {
        m_marked[i] = 1;
        m_dirty.push_back(static_cast<std::uint32_t>(i));
    }
}

void RecoveryStore::Mark(const gdi::Rect& area) {
    const gdi::Rect r = area.Intersect({0, 0, m_meta.width, m_meta.height});
    if (r.IsEmpty())
        return;
    for (int row = r.top / kTileSide; row <= (r.bottom - 1) / kTileSide; ++row)
        for (int col = r.left / kTileSide; col <= (r.right - 1) / kTileSide; ++col) {
            const auto index = static_cast<std::uint32_t>(row * m_cols + col);
            if (!m_marked[index]) {
                m_marked[index] = 1;
                m_dirty.push_back(index);
            }
        }
}

void RecoveryStore::BeforeChange(const gdi::Bitmap& map, const gdi::Rect& area) {
    if (m_stopped)
        return;
    // A size the store did not hear of is a whole change.
    if (map.Width() != m_meta.width || map.Height() != m_meta.height) {
        WholeChange(map);
        return;
    }
    Mark(area);
}

void RecoveryStore::Started(const gdi::Bitmap& map, const std::string& path,
                            const std::string& title) {
    Track(map);
    m_meta.path = path;
    m_meta.title = title;
    m_meta.base = path.empty() ? Base::White : Base::File;
    if (m_meta.base == Base::File && !FileStamp(path, m_meta.baseSize, m_meta.baseMtime)) {
        // A base that cannot be found again is no base: the store keeps the pixels itself.
        m_meta.base = Base::None;
        MarkAll();
    }
    m_clearTiles = true;
    m_meta.dirty = false;
}

void RecoveryStore::WholeChange(const gdi::Bitmap& map) {
    Track(map);
    m_meta.base = Base::None;
    m_clearTiles = true;
    MarkAll();
}

void RecoveryStore::Flush(const gdi::Bitmap& map, bool dirty, const std::string& path,
                          const std::string& title) {
    if (m_stopped)
        return;
    if (!Error().empty()) {
        m_stopped = true;
        return;
    }
    if (map.Width() != m_meta.width || map.Height() != m_meta.height)
        WholeChange(map);
    // The file a base came from changed on disk (another program wrote it): the store can no
    // longer lean on it. A stat per flush is all this costs.
    if (m_meta.base == Base::File) {
        long long size = -1, mtime = -1;
        if (!FileStamp(m_meta.path, size, mtime) || size != m_meta.baseSize ||
            mtime != m_meta.baseMtime) {
            m_meta.base = Base::None;
            m_clearTiles = true;
            std::fill(m_stored.begin(), m_stored.end(), 0);
            m_meta.tiles = 0;
            MarkAll();
        }
    }
    for (const std::uint32_t index : m_dirty)
        if (!m_stored[index]) {
            m_stored[index] = 1;
            ++m_meta.tiles;
        }
    if (m_dirty.empty() && !m_clearTiles && dirty == m_meta.dirty && path == m_meta.path &&
        title == m_meta.title)
        return;
    m_meta.dirty = dirty;
    m_meta.path = path;
    m_meta.title = title;
    m_meta.changedMs = NowMs();
    Job job;
    job.meta = m_meta;
    job.clearTiles = std::exchange(m_clearTiles, false);
    job.tiles.reserve(m_dirty.size());
    for (const std::uint32_t index : m_dirty) {
        m_marked[index] = 0;
        const gdi::Rect r = TileRect(index, m_cols, m_meta.width, m_meta.height);
        const std::size_t rowBytes = static_cast<std::size_t>(r.Width()) * sizeof(gdi::Color);
        TileJob tile{index, std::vector<std::uint8_t>(rowBytes * r.Height())};
        std::uint8_t* out = tile.raw.data();
        for (int y = r.top; y < r.bottom; ++y, out += rowBytes)
            std::memcpy(out, map.Row(y) + r.left, rowBytes);
        job.tiles.push_back(std::move(tile));
    }
    m_dirty.clear();
    Queue(std::move(job));
}

void RecoveryStore::Queue(Job job) {
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

void RecoveryStore::WaitIdle() {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
}

std::string RecoveryStore::Error() const {
    std::lock_guard lock(m_mutex);
    return m_error;
}

std::uint64_t RecoveryStore::Written() const {
    std::lock_guard lock(m_mutex);
    return m_written;
}

void RecoveryStore::WriterLoop() {
    std::unique_lock lock(m_mutex);
    while (true) {
        m_wake.wait(lock, [this] { return m_quit || !m_jobs.empty(); });
        if (m_jobs.empty()) {
            if (m_quit)
                return;
            continue;
        }
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_busy = true;
        const bool failed = !m_error.empty();
        lock.unlock();
        std::string why;
        const bool ok = failed || WriteJob(job, &why);
        lock.lock();
        m_busy = false;
        if (!ok && m_error.empty())
            m_error = why;
        else if (ok && !failed)
            ++m_written;
        if (m_jobs.empty())
            m_idle.notify_all();
    }
}

bool RecoveryStore::WriteJob(const Job& job, std::string* why) {
    // Compressed off the UI thread, before the transaction, so that it stays short.
    std::vector<std::vector<std::uint8_t>> packed(job.tiles.size());
    for (std::size_t i = 0; i < job.tiles.size(); ++i) {
        const std::vector<std::uint8_t>& raw = job.tiles[i].raw;
        uLongf size = compressBound(static_cast<uLong>(raw.size()));
        packed[i].resize(size);
        if (compress2(packed[i].data(), &size, raw.data(), static_cast<uLong>(raw.size()), 1) !=
            Z_OK) {
            *why = "cannot compress a tile";
            return false;
        }
        packed[i].resize(size);
    }
    if (!Exec(m_db, "BEGIN IMMEDIATE", why))
        return false;
    const auto fail = [&](const char* what) {
        *why = DbError(m_db, what);
        Exec(m_db, "ROLLBACK", nullptr);
        return false;
    };
    if (job.clearTiles && !Exec(m_db, "DELETE FROM tiles", why)) {
        Exec(m_db, "ROLLBACK", nullptr);
        return false;
    }
    {
        Statement s(m_db,
                    "INSERT OR REPLACE INTO meta VALUES(1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        if (!s)
            return fail("cannot write the map's description");
        const Meta& m = job.meta;
        sqlite3_bind_int(s.get(), 1, kFormatVersion);
        sqlite3_bind_int64(s.get(), 2, ::getpid());
        sqlite3_bind_text(s.get(), 3, m.path.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s.get(), 4, m.title.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(s.get(), 5, m.width);
        sqlite3_bind_int(s.get(), 6, m.height);
        sqlite3_bind_int(s.get(), 7, static_cast<int>(m.base));
        sqlite3_bind_int64(s.get(), 8, m.baseSize);
        sqlite3_bind_int64(s.get(), 9, m.baseMtime);
        sqlite3_bind_int64(s.get(), 10, m.changedMs);
        sqlite3_bind_int(s.get(), 11, m.dirty ? 1 : 0);
        sqlite3_bind_int64(s.get(), 12, m.tiles);
        if (sqlite3_step(s.get()) != SQLITE_DONE)
            return fail("cannot write the map's description");
    }
    if (!job.tiles.empty()) {
        Statement s(m_db, "INSERT OR REPLACE INTO tiles VALUES(?, ?)");
        if (!s)
            return fail("cannot write a tile");
        for (std::size_t i = 0; i < job.tiles.size(); ++i) {
            sqlite3_reset(s.get());
            sqlite3_bind_int64(s.get(), 1, job.tiles[i].index);
            sqlite3_bind_blob(s.get(), 2, packed[i].data(), static_cast<int>(packed[i].size()),
                              SQLITE_STATIC);
            if (sqlite3_step(s.get()) != SQLITE_DONE)
                return fail("cannot write a tile");
        }
    }
    if (!Exec(m_db, "COMMIT", why)) {
        Exec(m_db, "ROLLBACK", nullptr);
        return false;
    }
    return true;
}

void RecoveryStore::Discard() {
    m_stopped = true;
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    if (m_writer.joinable())
        m_writer.join();
    if (m_db) {
        sqlite3_close(m_db);
        m_db = nullptr;
    }
    Remove(m_file);
    if (m_lockFd >= 0) {
        ::close(m_lockFd);
        m_lockFd = -1;
    }
}

void RecoveryStore::Remove(const std::string& file) {
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm", ".lock"})
        fs::remove(file + suffix, ec);
}

void RecoveryStore::MoveAside(const std::string& file) {
    std::error_code ec;
    // The journal goes with the store, so that whoever looks at it sees what was written.
    for (const char* suffix : {"-wal", "-shm"})
        if (fs::exists(file + suffix, ec))
            fs::rename(file + suffix, file + ".broken" + suffix, ec);
    fs::rename(file, file + ".broken", ec);
    fs::remove(LockFileOf(file), ec);
}

namespace {

// Opens a store to read; its journal is read too, and nothing is written to it.
sqlite3* OpenToRead(const std::string& file, std::string* why) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        if (why)
            *why = DbError(db, "cannot open the store");
        sqlite3_close(db);
        return nullptr;
    }
    return db;
}

struct DbCloser {
    sqlite3* db;
    ~DbCloser() { sqlite3_close(db); }
};

bool ReadMeta(sqlite3* db, RecoveryStore::Info& info, int& base, long long& baseSize,
              long long& baseMtime, long long& tiles, std::string* why) {
    Statement s(db,
                "SELECT version, path, title, width, height, base, base_size, base_mtime, "
                "changed, dirty, tiles, pid FROM meta WHERE id = 1");
    if (!s) {
        *why = DbError(db, "the store cannot be read");
        return false;
    }
    const int rc = sqlite3_step(s.get());
    if (rc != SQLITE_ROW) {
        *why = rc == SQLITE_DONE ? "the store holds no map" : DbError(db, "the store is damaged");
        return false;
    }
    const int version = sqlite3_column_int(s.get(), 0);
    if (version > RecoveryStore::kFormatVersion) {
        *why = "the store was written by a newer version of ZK (format " + std::to_string(version) +
               ")";
        return false;
    }
    info.path = Text(s.get(), 1);
    info.title = Text(s.get(), 2);
    const long long w = sqlite3_column_int64(s.get(), 3), h = sqlite3_column_int64(s.get(), 4);
    if (std::string e = CZKDoc::CheckSize(w, h); !e.empty()) {
        *why = "the store's map size is wrong: " + e;
        return false;
    }
    info.width = static_cast<int>(w);
    info.height = static_cast<int>(h);
    base = sqlite3_column_int(s.get(), 5);
    baseSize = sqlite3_column_int64(s.get(), 6);
    baseMtime = sqlite3_column_int64(s.get(), 7);
    info.changedMs = sqlite3_column_int64(s.get(), 8);
    info.dirty = sqlite3_column_int(s.get(), 9) != 0;
    tiles = sqlite3_column_int64(s.get(), 10);
    info.pid = sqlite3_column_int64(s.get(), 11);
    if (base < 0 || base > 2) {
        *why = "the store names an unknown base";
        return false;
    }
    return true;
}

}  // namespace

bool RecoveryStore::ReadInfo(const std::string& file, Info& info, std::string* why) {
    std::string e;
    sqlite3* db = OpenToRead(file, &e);
    DbCloser closer{db};
    int base = 0;
    long long size = 0, mtime = 0, tiles = 0;
    info.file = file;
    if (db && ReadMeta(db, info, base, size, mtime, tiles, &e))
        return true;
    if (why)
        *why = e;
    return false;
}

bool RecoveryStore::Read(const std::string& file, Info& info, gdi::Bitmap& map, std::string* why) {
    std::string e;
    sqlite3* db = OpenToRead(file, &e);
    DbCloser closer{db};
    const auto fail = [&](std::string text) {
        if (why)
            *why = std::move(text);
        return false;
    };
    int base = 0;
    long long baseSize = 0, baseMtime = 0, tiles = 0;
    info.file = file;
    if (!db || !ReadMeta(db, info, base, baseSize, baseMtime, tiles, &e))
        return fail(e);
    const Grid grid = Grid::Of(info.width, info.height);
    gdi::Bitmap out;
    if (static_cast<Base>(base) == Base::File) {
        long long size = -1, mtime = -1;
        if (!FileStamp(info.path, size, mtime) || size != baseSize || mtime != baseMtime)
            return fail("the map's file " + info.path + " has changed since");
        BitmapError error;
        if (!ReadMapFile(info.path, out, nullptr, &error))
            return fail("the map's file " + info.path + " cannot be read: " + error.message);
        if (out.Width() != info.width || out.Height() != info.height)
            return fail("the map's file " + info.path + " has another size than the store");
    } else {
        try {
            out = gdi::Bitmap(info.width, info.height, 32, gdi::kWhite);
        } catch (const std::bad_alloc&) {
            return fail("not enough memory for the map");
        }
    }
    Statement s(db, "SELECT idx, data FROM tiles");
    if (!s)
        return fail(DbError(db, "the store's tiles cannot be read"));
    std::vector<std::uint8_t> seen(grid.Count(), 0);
    std::size_t count = 0;
    std::vector<std::uint8_t> raw;
    int rc;
    while ((rc = sqlite3_step(s.get())) == SQLITE_ROW) {
        const long long index = sqlite3_column_int64(s.get(), 0);
        if (index < 0 || static_cast<std::size_t>(index) >= grid.Count())
            return fail("the store holds a tile outside the map");
        const gdi::Rect r =
            TileRect(static_cast<std::uint32_t>(index), grid.cols, info.width, info.height);
        const std::size_t rowBytes = static_cast<std::size_t>(r.Width()) * sizeof(gdi::Color);
        raw.resize(rowBytes * r.Height());
        const void* data = sqlite3_column_blob(s.get(), 1);
        const int bytes = sqlite3_column_bytes(s.get(), 1);
        uLongf size = static_cast<uLongf>(raw.size());
        if (!data ||
            uncompress(raw.data(), &size, static_cast<const Bytef*>(data),
                       static_cast<uLong>(bytes)) != Z_OK ||
            size != raw.size())
            return fail("a tile of the store is damaged");
        const std::uint8_t* in = raw.data();
        for (int y = r.top; y < r.bottom; ++y, in += rowBytes) {
            gdi::Color* row = out.Row(y) + r.left;
            std::memcpy(row, in, rowBytes);
            // Only colours a map can hold get in.
            for (int x = 0; x < r.Width(); ++x)
                row[x] &= 0xFFFFFF;
        }
        if (!seen[static_cast<std::size_t>(index)]++)
            ++count;
    }
    if (rc != SQLITE_DONE)
        return fail(DbError(db, "the store is damaged"));
    if (static_cast<long long>(count) != tiles ||
        (static_cast<Base>(base) == Base::None && count != grid.Count()))
        return fail("the store misses tiles of the map");
    map = std::move(out);
    return true;
}

std::vector<RecoveryStore::Info> RecoveryStore::Orphans(const std::string& folder,
                                                        std::vector<std::string>* broken,
                                                        long long self) {
    if (self == 0)
        self = ::getpid();
    std::vector<Info> found;
    std::error_code ec;
    std::vector<std::string> files;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, ec))
        if (e.path().extension() == kExtension && e.is_regular_file(ec))
            files.push_back(e.path().string());
    std::sort(files.begin(), files.end());
    for (const std::string& file : files) {
        // A lock that can be taken belongs to no running process.
        const int fd = TakeLock(LockFileOf(file));
        if (fd < 0)
            continue;
        Info info;
        std::string why;
        if (!ReadInfo(file, info, &why)) {
            MoveAside(file);
            if (broken)
                broken->push_back(file + ": " + why);
        } else if (info.pid == self) {
            // This process's own earlier store (a window torn down unclosed) is no crash.
        } else if (!info.dirty) {
            Remove(file);
        } else {
            found.push_back(info);
        }
        ::close(fd);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Info& a, const Info& b) { return a.changedMs < b.changedMs; });
    return found;
}

}  // namespace zk
