// The map document: one raster image, its size and a one-level undo copy.
#pragma once

#include <string>
#include <vector>

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
    CZKDoc() = default;

    // Empty when the size is allowed, else why not.
    static std::string CheckSize(long long width, long long height);

    // A white map of m_width x m_height; the undo copy equals it, the path is emptied and the
    // modified mark cleared.
    bool OnNewDocument();
    // The New command once the size is chosen: a white map of that size titled "Bez názvu".
    // A size below 1 x 1 or over the limits is refused (the map stays as it was).
    bool NewMap(int width, int height, std::string* why = nullptr);
    // The undo copy becomes an exact copy of the map.
    void SaveUndo();
    // Swaps the map and the undo copy; a second Undo brings back what the first undid.
    void OnEditUndo();
    // New size; the old map stays at the top-left, new area is white, the rest is cut off.
    // Undo brings the old size and content back. Refused like NewMap.
    bool Resize(int width, int height, std::string* why = nullptr);
    // Reads the file as the map. On failure nothing changes: map, size, undo copy, path and
    // title stay as they were.
    bool OnOpenDocument(const std::string& path, std::string* why = nullptr);
    // Writes the map to the file (atomically). On success the path and title follow the file
    // and the modified mark is cleared; on failure they stay as they were.
    bool OnSaveDocument(const std::string& path, std::string* why = nullptr);

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

    gdi::Bitmap m_bitmap;
    gdi::Bitmap m_undoBitmap;
    int m_width = kDefaultWidth;
    int m_height = kDefaultHeight;

  private:
    void SetPathName(const std::string& path);

    std::string m_pathName;
    std::string m_title = "Untitled";
    bool m_modified = false;
    std::vector<DocListener*> m_views;
};

}  // namespace zk
