// The map document: one raster image, its size, and what Undo goes back to.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "doc/map_file.h"
#include "doc/undo_record.h"
#include "gdi/bitmap.h"

namespace zk {

// Whoever shows the document: told of whole-map changes (hint 1: new, open, resize, undo).
class DocListener {
  public:
    virtual void OnUpdate(int hint) = 0;

  protected:
    ~DocListener() = default;
};

class CZKDoc {
  public:
    static constexpr int kDefaultWidth = 672;
    static constexpr int kDefaultHeight = 944;
    // The title of a map that has no file yet, at start-up as after New.
    static constexpr const char* kUntitledTitle = "Bez názvu";
    CZKDoc();
    // The map's watcher is this document's own record.
    CZKDoc(const CZKDoc&) = delete;
    CZKDoc& operator=(const CZKDoc&) = delete;

    // Empty when the size is allowed, else why not.
    static std::string CheckSize(long long width, long long height);

    // A white map of m_width x m_height titled kUntitledTitle; the undo copy equals it, the path
    // is emptied and the modified mark cleared.
    bool OnNewDocument();
    // The New command once the size is chosen: a white map of that size titled kUntitledTitle.
    // A size below 1 x 1 or over the limits is refused (the map stays as it was).
    bool NewMap(int width, int height, std::string* why = nullptr);
    // What Undo goes back to becomes the map as it is now. O(1): a new record opens, and the
    // first change to each tile after it keeps that tile's old pixels.
    void SaveUndo();
    // Swaps the map and the undo state (the changed tiles, or the whole map after a resize); a
    // second Undo brings back what the first undid.
    void OnEditUndo();
    // What Undo would bring back, as a whole picture (a copy of the map's size).
    gdi::Bitmap UndoPicture() const { return m_undo.Picture(m_bitmap); }
    const UndoRecord& GetUndoRecord() const { return m_undo; }

    // Keeps a whole copy of the undo state beside the record and has every undo, every new
    // record and every whole-map operation check the record against it, reporting a mismatch
    // (a write to the map that was not announced, say) to `report`. An empty function stops it.
    // For tests: it costs a copy of the map at every press.
    void SetUndoCheck(std::function<void(const std::string&)> report);
    // Checks the record against the whole copy now (nothing when the check is off).
    void CheckUndo();
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
    void SetModifiedFlag(bool modified = true) { m_modified = modified; }

    void AddView(DocListener* view);
    void RemoveView(DocListener* view);
    void UpdateAllViews(int hint);

    // The map. Writers announce what they change (Bitmap::AboutToChange; the drawing layer and
    // SetPixel do), so that the undo record can keep the old pixels first.
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
    // A new record whose state is the map as it is (after New and Open, where both agree).
    void OpenRecord();

    UndoRecord m_undo;
    std::function<void(const std::string&)> m_undoCheck;
    gdi::Bitmap m_undoCheckCopy;

    std::string m_pathName;
    std::string m_title = kUntitledTitle;
    MapFormat m_format = MapFormat::Bmp;
    bool m_modified = false;
    std::vector<DocListener*> m_views;
};

}  // namespace zk
