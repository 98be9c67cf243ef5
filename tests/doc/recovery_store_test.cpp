#include "doc/recovery_store.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <thread>

#include "doc/bitmap_file.h"
#include "doc/map_file.h"
#include "doc/zk_doc.h"
#include "support/picture.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using zk::RecoveryStore;
using zk_test::TempDir;

// The stores these tests leave are read as the next start reads them: as another process's.
constexpr long long kGone = -1;

// A gesture as the view makes one: a press (the undo snapshot), pixels through the drawing
// layer's announcements, and the flush once it is finished.
void Stroke(zk::CZKDoc& doc, int seed) {
    doc.SaveUndo();
    std::mt19937 rng(static_cast<unsigned>(seed));
    const int x0 = static_cast<int>(rng() % static_cast<unsigned>(doc.m_width));
    const int y0 = static_cast<int>(rng() % static_cast<unsigned>(doc.m_height));
    for (int i = 0; i < 90; ++i) {
        const int x = std::min(doc.m_width - 1, x0 + i), y = std::min(doc.m_height - 1, y0 + i / 2);
        doc.m_bitmap.SetPixel(x, y, static_cast<gdi::Color>(rng()) & 0xFFFFFF);
    }
    doc.SetModifiedFlag(true);
}

struct Fixture {
    TempDir dir;
    std::string folder = (dir / "recovery").string();
    std::unique_ptr<RecoveryStore> store;
    zk::CZKDoc doc;

    // A store of its own for the document, in its own folder or in `shared`.
    explicit Fixture(const std::string& shared = {}) {
        if (!shared.empty())
            folder = shared;
        std::string why;
        store = RecoveryStore::Create(folder, &why);
        EXPECT_TRUE(store) << why;
        doc.SetRecovery(store.get());
    }
    void Flush() {
        doc.FlushRecovery();
        store->WaitIdle();
        ASSERT_EQ(store->Error(), "");
    }
    // A finished gesture, an undo or a redo, flushed.
    void Stroke(int seed) {
        ::Stroke(doc, seed);
        Flush();
    }
    void Undo() {
        doc.OnEditUndo();
        Flush();
    }
    void Redo() {
        doc.OnEditRedo();
        Flush();
    }
    // The store as the next start reads it, once this process is gone.
    std::string Leave() {
        const std::string file = store->File();
        doc.SetRecovery(nullptr);
        store.reset();
        return file;
    }
    // A map file in the format its name says.
    std::string WriteMapFile(const std::string& name, int w, int h, gdi::Color c) {
        const std::string path = (dir / name).string();
        EXPECT_TRUE(zk::WriteMapFile(path, gdi::Bitmap(w, h, 32, c),
                                     zk::MapFormatOfName(path).value_or(zk::MapFormat::Bmp)));
        return path;
    }
};

struct History {
    const char* name;
    std::function<void(Fixture&)> run;
};

// Each history ends with an unsaved map that the store must give back pixel for pixel.
const History kHistories[] = {
    {"strokes on a new map",
     [](Fixture& f) {
         f.doc.NewMap(300, 200);
         for (int i = 0; i < 5; ++i)
             f.Stroke(i);
     }},
    {"strokes on an opened map",
     [](Fixture& f) {
         ASSERT_TRUE(f.doc.OnOpenDocument(f.WriteMapFile("a.bmp", 130, 70, gdi::kBlack)));
         for (int i = 0; i < 4; ++i)
             f.Stroke(i);
     }},
    {"strokes on an opened PNG map",
     [](Fixture& f) {
         ASSERT_TRUE(f.doc.OnOpenDocument(f.WriteMapFile("a.png", 130, 70, gdi::kBlack)));
         f.Stroke(1);
     }},
    {"undo and redo swap tiles the drawing layer never announced",
     [](Fixture& f) {
         f.doc.NewMap(256, 256);
         for (int i = 0; i < 4; ++i)
             f.Stroke(10 + i);
         f.Undo();
         f.Undo();
         f.Redo();
     }},
    {"resize, strokes, and undo across the resize",
     [](Fixture& f) {
         f.doc.NewMap(100, 100);
         f.Stroke(1);
         ASSERT_TRUE(f.doc.Resize(170, 90));
         f.Flush();
         f.Stroke(2);
         f.Undo();
         f.Undo();
     }},
    {"strokes after a save start from the saved file",
     [](Fixture& f) {
         f.doc.NewMap(120, 120);
         f.Stroke(3);
         ASSERT_TRUE(f.doc.OnSaveDocument((f.dir / "saved.bmp").string()));
         f.Flush();
         f.Stroke(4);
     }},
    {"the opened file changed on disk: the store keeps what it needs itself",
     [](Fixture& f) {
         const std::string path = f.WriteMapFile("b.bmp", 140, 80, gdi::kWhite);
         ASSERT_TRUE(f.doc.OnOpenDocument(path));
         f.Stroke(5);
         // Another program writes the file (another size, so the stamp surely differs).
         f.WriteMapFile("b.bmp", 141, 80, gdi::kBlack);
         f.Stroke(6);
     }},
};

TEST(RecoveryStore, GivesBackTheMapAfterTheLastFlushedGesture) {
    for (const History& h : kHistories) {
        SCOPED_TRACE(h.name);
        Fixture f;
        h.run(f);
        const gdi::Bitmap expected = f.doc.m_bitmap;
        const std::string path = f.doc.GetPathName(), title = f.doc.GetTitle();
        const std::string file = f.Leave();

        const std::vector<RecoveryStore::Info> offered =
            RecoveryStore::Orphans(f.folder, nullptr, kGone);
        ASSERT_EQ(offered.size(), 1u);
        EXPECT_EQ(offered[0].file, file);
        RecoveryStore::Info info;
        gdi::Bitmap map;
        std::string why;
        ASSERT_TRUE(RecoveryStore::Read(file, info, map, &why)) << why;
        EXPECT_TRUE(zk_test::SameBitmap(expected, map));
        EXPECT_EQ(info.path, path);
        EXPECT_EQ(info.title, title);
        EXPECT_TRUE(info.dirty);
    }
}

TEST(RecoveryStore, AGestureNotYetFlushedIsNotInTheStore) {
    Fixture f;
    f.doc.NewMap(200, 100);
    f.Stroke(1);
    const gdi::Bitmap flushed = f.doc.m_bitmap;
    Stroke(f.doc, 2);  // in progress when the process dies
    const std::string file = f.Leave();
    RecoveryStore::Info info;
    gdi::Bitmap map;
    ASSERT_TRUE(RecoveryStore::Read(file, info, map, nullptr));
    EXPECT_TRUE(zk_test::SameBitmap(flushed, map));
}

TEST(RecoveryStore, OpenedMapStoresOnlyTheChangedTiles) {
    // A stroke on a large opened map writes its few tiles, not the map.
    Fixture f;
    ASSERT_TRUE(f.doc.OnOpenDocument(f.WriteMapFile("big.bmp", 2048, 2048, gdi::kWhite)));
    f.Flush();
    f.doc.SaveUndo();
    f.doc.m_bitmap.SetPixel(100, 100, gdi::kBlack);
    f.doc.m_bitmap.SetPixel(1000, 1000, gdi::kBlack);
    f.doc.SetModifiedFlag(true);
    f.Flush();
    const std::string file = f.Leave();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM tiles", -1, &s, nullptr);
    ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(s, 0), 2);
    sqlite3_finalize(s);
    sqlite3_close(db);
}

TEST(RecoveryStore, CleanStoresAreNotOfferedAndGoAway) {
    const std::function<void(Fixture&)> cleanEnds[] = {
        [](Fixture& f) { f.doc.NewMap(50, 50); },
        [](Fixture& f) {
            f.doc.NewMap(50, 50);
            f.Stroke(1);
            ASSERT_TRUE(f.doc.OnSaveDocument((f.dir / "s.bmp").string()));
        },
        [](Fixture& f) {
            f.doc.NewMap(50, 50);
            f.Stroke(1);
            f.store->Discard();
        },
    };
    for (const auto& end : cleanEnds) {
        Fixture f;
        end(f);
        f.Flush();
        f.Leave();
        EXPECT_TRUE(RecoveryStore::Orphans(f.folder, nullptr, kGone).empty());
        EXPECT_TRUE(fs::is_empty(f.folder));
    }
}

TEST(RecoveryStore, ARunningProcesssStoreIsNotOffered) {
    Fixture f;
    f.doc.NewMap(64, 64);
    f.Stroke(1);
    // Held by its lock while the store lives.
    EXPECT_TRUE(RecoveryStore::Orphans(f.folder, nullptr, kGone).empty());
    EXPECT_TRUE(fs::exists(f.store->File()));
    // Left by this very process: not a crash either.
    f.Leave();
    EXPECT_TRUE(RecoveryStore::Orphans(f.folder).empty());
    EXPECT_EQ(RecoveryStore::Orphans(f.folder, nullptr, kGone).size(), 1u);
}

TEST(RecoveryStore, TwoStoresAreOfferedOldestFirst) {
    Fixture first;
    first.doc.NewMap(40, 40);
    first.Stroke(0);
    const std::string older = first.Leave();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    Fixture second(first.folder);
    second.doc.NewMap(41, 40);
    second.Stroke(1);
    const std::string newer = second.Leave();
    const std::vector<RecoveryStore::Info> offered =
        RecoveryStore::Orphans(first.folder, nullptr, kGone);
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[0].file, older);
    EXPECT_EQ(offered[1].file, newer);
    EXPECT_EQ(offered[1].width, 41);
}

// A store that was damaged after its process died, in the ways files get damaged.
struct Damage {
    const char* name;
    std::function<void(const std::string& file)> apply;
    bool metaSurvives;  // the description can still be read; only the pixels cannot
};

void Corrupt(const std::string& file, std::uintmax_t at, std::size_t bytes) {
    std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
    out.seekp(static_cast<std::streamoff>(at));
    std::mt19937 rng(7);
    for (std::size_t i = 0; i < bytes; ++i)
        out.put(static_cast<char>(rng()));
}

void Sql(const std::string& file, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

const Damage kDamages[] = {
    {"truncated to half", [](const std::string& f) { fs::resize_file(f, fs::file_size(f) / 2); },
     false},
    {"truncated to nothing", [](const std::string& f) { fs::resize_file(f, 0); }, false},
    {"header overwritten", [](const std::string& f) { Corrupt(f, 0, 100); }, false},
    {"pages overwritten", [](const std::string& f) { Corrupt(f, 4096, fs::file_size(f) - 4096); },
     false},
    {"from a newer version", [](const std::string& f) { Sql(f, "UPDATE meta SET version = 99"); },
     false},
    {"a tile's bytes damaged",
     [](const std::string& f) { Sql(f, "UPDATE tiles SET data = x'789c0000' WHERE idx = 0"); },
     true},
    {"a tile missing", [](const std::string& f) { Sql(f, "DELETE FROM tiles WHERE idx = 1"); },
     true},
    {"a size beyond the limits",
     [](const std::string& f) { Sql(f, "UPDATE meta SET width = 100000"); }, false},
};

TEST(RecoveryStore, DamagedStoresAreReportedAndMovedAsideNeverTrusted) {
    for (const Damage& d : kDamages) {
        SCOPED_TRACE(d.name);
        Fixture f;
        f.doc.NewMap(300, 300);
        for (int i = 0; i < 6; ++i)
            f.Stroke(i);
        const std::string file = f.Leave();
        d.apply(file);
        RecoveryStore::Info info;
        gdi::Bitmap map;
        std::string why;
        EXPECT_FALSE(RecoveryStore::Read(file, info, map, &why));
        EXPECT_NE(why, "");
        std::vector<std::string> broken;
        const std::vector<RecoveryStore::Info> offered =
            RecoveryStore::Orphans(f.folder, &broken, kGone);
        if (d.metaSurvives) {
            // Offered by its description; reading its pixels is what fails, as above.
            EXPECT_EQ(offered.size(), 1u);
        } else {
            EXPECT_TRUE(offered.empty());
            ASSERT_EQ(broken.size(), 1u);
            EXPECT_TRUE(fs::exists(file + ".broken"));
            EXPECT_FALSE(fs::exists(file));
        }
    }
}

TEST(RecoveryStore, AFolderThatCannotBeWrittenIsSaid) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes anywhere";
    TempDir dir;
    fs::create_directories(dir / "ro");
    fs::permissions(dir / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    std::string why;
    EXPECT_FALSE(RecoveryStore::Create((dir / "ro" / "recovery").string(), &why));
    EXPECT_NE(why, "");
}

}  // namespace
