// The map document: one raster image, its size, and what Undo goes back to.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "doc/map_file.h"
#include "doc/map_watchers.h"
#include "doc/reduced_copies.h"
#include "doc/undo_history.h"
#include "gdi/bitmap.h"

namespace zk {

// Whoever shows the document: told of whole-map changes (hint 1: new, open, resize, undo).
class DocListener {
  public:
    virtual void OnUpdate(int hint) = 0;

  protected:
    ~DocListener() = default;
};

class RecoveryStore;

class CZKDoc {
  public:
    static constexpr int kDefaultWidth = 672;
    static constexpr int kDefaultHeight = 944;
    // The title of a map that has no file yet, at start-up as after New.
    static constexpr const char* kUntitledTitle = "Bez názvu";
    CZKDoc();
    // The map's watcher is this document's own history.
    CZKDoc(const CZKDoc&) = delete;
    CZKDoc& operator=(const CZKDoc&) = delete;

    // Empty when the size is allowed, else why not.
    static std::string CheckSize(long long width, long long height);

    // A white map of m_width x m_height titled kUntitledTitle, with a history of its own; the
    // path is emptied and the modified mark cleared.
    bool OnNewDocument();
    // The New command once the size is chosen: a white map of that size titled kUntitledTitle.
    // A size below 1 x 1 or over the limits is refused (the map stays as it was).
    bool NewMap(int width, int height, std::string* why = nullptr);
    // A gesture begins (every press): the one before it becomes a step of the history when it
    // changed anything. O(1) in the map's pixels: the first change to each tile keeps that tile.
    void SaveUndo();
    // Takes back the newest step (the gesture in progress first), and gives it back again; each
    // is a no-op at its end of the history. The modified mark follows the history: it is clear
    // exactly at the step that was last saved or opened.
    void OnEditUndo();
    void OnEditRedo();
    bool CanUndo() const { return m_history.CanUndo(); }
    bool CanRedo() const { return m_history.CanRedo(); }
    // What Undo would bring back, as a whole picture (a copy of the map's size, or the whole old
    // map before a resize).
    gdi::Bitmap UndoPicture() const;
    // The record of the gesture in progress.
    const UndoRecord& GetUndoRecord() const { return m_history.InProgress(); }
    const UndoHistory& History() const { return m_history; }
    // The most pixel bytes the history keeps beside the gesture in progress.
    void SetUndoLimit(std::size_t bytes) { m_history.SetLimit(bytes); }
    // New size; the old map stays at the top-left, new area is white, the rest is cut off.
    // Undo brings the old size and content back. Refused like NewMap.
    bool Resize(int width, int height, std::string* why = nullptr);
    // Reads the file, BMP or PNG, as the map. On failure nothing changes: map, size, undo copy,
    // path, title and format stay as they were.
    bool OnOpenDocument(const std::string& path, std::string* why = nullptr);
    // Writes the map to the file (atomically) in `format`. On success the path, title and format
    // follow the file and the modified mark is cleared; on failure they stay as they were.
    bool OnSaveDocument(const std::string& path, MapFormat format, std::string* why = nullptr);
    // The same in the format the name's extension says, else in the map's own format.
    bool OnSaveDocument(const std::string& path, std::string* why = nullptr);
    // The format of the file the map was read from or last written to; BMP for a new map.
    MapFormat GetFormat() const { return m_format; }

    const std::string& GetPathName() const { return m_pathName; }
    const std::string& GetTitle() const { return m_title; }
    void SetTitle(const std::string& title) { m_title = title; }
    // Set by every change of the map's pixels or size, so that closing or replacing the map can
    // ask before the user's work is thrown away.
    bool IsModified() const { return m_modified; }
    // Clearing it also marks this point of the history as the saved one.
    void SetModifiedFlag(bool modified = true);

    // The store every finished gesture goes to, so that a crash loses none; null for none. It
    // hears of every change of the map from here on.
    void SetRecovery(RecoveryStore* store);
    RecoveryStore* Recovery() const { return m_recovery; }
    // A gesture or command is finished: what it changed goes to the store.
    void FlushRecovery();
    // A map brought back from the store: its file name and title, unsaved, with no history.
    void RestoreMap(gdi::Bitmap map, const std::string& path, const std::string& title);
    // Whoever else watches the map (reduced copies, the store).
    void AddWatcher(gdi::BitmapWatcher* watcher) { m_watchers.Add(watcher); }
    void RemoveWatcher(gdi::BitmapWatcher* watcher) { m_watchers.Remove(watcher); }

    void AddView(DocListener* view);
    void RemoveView(DocListener* view);
    void UpdateAllViews(int hint);

    // The map shrunk by 2^level (ReducedCopies::LevelFor names the level for a zoom), up to date
    // over `area` in that level's pixels; null when there is no memory for it. For reading.
    gdi::Bitmap* ReducedMap(int level, const gdi::Rect& area) {
        return m_reduced.Level(m_bitmap, level, area);
    }
    const ReducedCopies& GetReducedCopies() const { return m_reduced; }

    // The map. Writers announce what they change (Bitmap::AboutToChange; the drawing layer and
    // SetPixel do), so that the undo record can keep the old pixels first and the reduced copies
    // know what to bring up to date.
    gdi::Bitmap m_bitmap;
    int m_width = kDefaultWidth;
    int m_height = kDefaultHeight;

  private:
    // How a whole-map change meets the history: a map of its own (New, Open) starts anew, and
    // Undo goes back to it; a change of the map (Resize) is undone like a gesture.
    enum class MapChange { NewHistory, Undoable };
    // Every operation that replaces the whole map ends here: the map, its size, the undo record,
    // the modified mark and the views.
    void ReplaceMap(gdi::Bitmap map, MapChange change);
    // A white map of that size, or an empty one with the reason (refused size, no memory).
    static gdi::Bitmap NewWhiteMap(int width, int height, std::string* why);
    void SetPathName(const std::string& path);
    // After Undo or Redo: the size and the modified mark follow the map the history left.
    void AfterHistoryMove();

    // Tells the store and the reduced copies what Undo or Redo swapped.
    void NoteHistoryMove();
    // After a change of the whole map that was not announced pixel by pixel (a new picture):
    // the reduced copies are rebuilt wherever they are shown next.
    void RefreshReducedCopies();
    // The same, and the store writes the whole map again.
    void WholeMapChanged();

    UndoHistory m_history;
    ReducedCopies m_reduced;
    MapWatchers m_watchers;
    RecoveryStore* m_recovery = nullptr;

    std::string m_pathName;
    std::string m_title = kUntitledTitle;
    MapFormat m_format = MapFormat::Bmp;
    bool m_modified = false;
    std::vector<DocListener*> m_views;
};

}  // namespace zk
