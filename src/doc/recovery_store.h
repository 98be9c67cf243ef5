// The map survives a killed process: every finished gesture is written to a store of its own
// (SQLite, one transaction per step), so that the next start can offer it back. The store keeps
// the map's base (a white map, the file it was opened from, or nothing) and the current pixels of
// every 64 x 64 tile changed since that base, compressed. Recording a gesture costs its tiles,
// never the map: the UI thread copies the changed tiles, a writer thread compresses and writes
// them.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "gdi/bitmap.h"

struct sqlite3;

namespace zk {

class RecoveryStore final : public gdi::BitmapWatcher {
  public:
    static constexpr int kTileSide = 64;
    // Stores written by a later version are refused rather than half understood.
    static constexpr int kFormatVersion = 1;
    static constexpr const char* kExtension = ".zkr";

    // What a store says about its map without reading the pixels.
    struct Info {
        std::string file;  // the store itself
        std::string path;  // the map's file; empty for a map that has none
        std::string title;
        int width = 0, height = 0;
        long long changedMs = 0;  // the last change, milliseconds since the epoch
        bool dirty = false;       // the map has changes its file does not
        long long pid = 0;        // the process that wrote it
    };

    // A new store in `folder` (made when missing) for this process, held by a lock for its
    // life; null with the reason when the folder cannot take it.
    static std::unique_ptr<RecoveryStore> Create(const std::string& folder, std::string* why);
    // Stops the writer once what was handed to it is written; the files stay (a process that
    // ends without a clean close keeps its work for the next start).
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // A map of its own begins: a white one (empty path) or the file at `path` as read just now.
    // Also after a save, with the saved file: nothing is left unsaved then.
    void Started(const gdi::Bitmap& map, const std::string& path, const std::string& title);
    // The whole map changed (a resize, an undo across one): every tile is written once more and
    // the base is dropped.
    void WholeChange(const gdi::Bitmap& map);
    // The gesture is finished: copies the changed tiles and hands them to the writer. `dirty`
    // says whether the map differs from its file. O(changed tiles).
    void Flush(const gdi::Bitmap& map, bool dirty, const std::string& path,
               const std::string& title);
    // Returns once everything handed to the writer is written (or has failed).
    void WaitIdle();
    // The first failure of the writer (disk full, folder not writable); empty while all is well.
    // After one, nothing more is recorded.
    std::string Error() const;
    // A clean end: the store and its lock go away; nothing more is recorded.
    void Discard();
    const std::string& File() const { return m_file; }
    // How many steps the writer has committed.
    std::uint64_t Written() const;

    void BeforeChange(const gdi::Bitmap& map, const gdi::Rect& area) override;

    // Stores in `folder` whose process is gone and whose map was unsaved, oldest change first.
    // A clean one is removed on the way; one that cannot be read is moved aside (".broken") and
    // named in `broken` with the reason. The stores of process `self` (0: this one) are no
    // one's to offer: a window torn down unclosed leaves one behind while the process lives.
    static std::vector<Info> Orphans(const std::string& folder,
                                     std::vector<std::string>* broken = nullptr,
                                     long long self = 0);
    // Reads a store's map: base and tiles. False with the reason when it is unreadable, from a
    // newer version, or its base file changed since.
    static bool Read(const std::string& file, Info& info, gdi::Bitmap& map, std::string* why);
    static bool ReadInfo(const std::string& file, Info& info, std::string* why);
    // The store and its lock removed, or moved aside (the store kept as "<name>.broken").
    static void Remove(const std::string& file);
    static void MoveAside(const std::string& file);

  private:
    enum class Base { None = 0, White = 1, File = 2 };
    struct Meta {
        std::string path, title;
        int width = 0, height = 0;
        Base base = Base::None;
        long long baseSize = -1, baseMtime = -1;
        long long changedMs = 0;
        bool dirty = false;
        long long tiles = 0;  // rows of the tile table, so that a store missing some is seen
    };
    struct TileJob {
        std::uint32_t index;
        std::vector<std::uint8_t> raw;  // the tile's pixels, rows without padding
    };
    struct Job {
        Meta meta;
        bool clearTiles = false;
        std::vector<TileJob> tiles;
    };

    RecoveryStore() = default;
    void Track(const gdi::Bitmap& map);
    void MarkAll();
    void Mark(const gdi::Rect& area);
    void Queue(Job job);
    void WriterLoop();
    bool WriteJob(const Job& job, std::string* why);

    std::string m_file, m_lockFile;
    int m_lockFd = -1;
    sqlite3* m_db = nullptr;  // touched by the writer thread only, once it runs

    // What the UI thread knows: the map's size, the tiles changed since the last flush.
    Meta m_meta;
    int m_cols = 0, m_rows = 0;
    std::vector<std::uint8_t> m_marked;
    std::vector<std::uint8_t> m_stored;  // per tile: the store holds it
    std::vector<std::uint32_t> m_dirty;
    bool m_clearTiles = false;
    bool m_stopped = false;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake, m_idle;
    std::deque<Job> m_jobs;
    bool m_busy = false, m_quit = false;
    std::string m_error;
    std::uint64_t m_written = 0;
    std::thread m_writer;
};

}  // namespace zk
