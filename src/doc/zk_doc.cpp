#include "doc/zk_doc.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <new>
#include <utility>

#include "doc/bitmap_file.h"
#include "doc/recovery_store.h"
#include "gdi/dc.h"

namespace zk {

std::string CZKDoc::CheckSize(long long width, long long height) {
    if (width < 1 || height < 1)
        return "the map must be at least 1 x 1 pixel (asked for " + std::to_string(width) + " x " +
               std::to_string(height) + ")";
    if (!WithinBitmapLimits(width, height))
        return "the map may have at most 65535 pixels a side and 268435456 pixels in all (asked "
               "for " +
               std::to_string(width) + " x " + std::to_string(height) + ")";
    return {};
}

namespace {

// A white bitmap, or an empty one when memory runs out.
gdi::Bitmap WhiteMap(int width, int height) {
    try {
        return gdi::Bitmap(width, height, 32, gdi::kWhite);
    } catch (const std::bad_alloc&) {
        return {};
    }
}

bool Fail(std::string* why, std::string text) {
    if (why)
        *why = std::move(text);
    return false;
}

}  // namespace

CZKDoc::CZKDoc() {
    m_watchers.Add(&m_history);
    m_watchers.Add(&m_reduced);
    m_bitmap.SetWatcher(&m_watchers);
}

void CZKDoc::WholeMapChanged() {
    RefreshReducedCopies();
    if (m_recovery)
        m_recovery->WholeChange(m_bitmap);
}

void CZKDoc::RefreshReducedCopies() {
    m_reduced.MapReplaced(m_bitmap);
}

void CZKDoc::SetRecovery(RecoveryStore* store) {
    if (m_recovery)
        RemoveWatcher(m_recovery);
    m_recovery = store;
    if (!store)
        return;
    AddWatcher(store);
    if (m_modified)
        store->WholeChange(m_bitmap);
    else
        store->Started(m_bitmap, m_pathName, m_title);
}

void CZKDoc::FlushRecovery() {
    if (m_recovery)
        m_recovery->Flush(m_bitmap, m_modified, m_pathName, m_title);
}

void CZKDoc::RestoreMap(gdi::Bitmap map, const std::string& path, const std::string& title) {
    m_pathName = path;
    m_title = title;
    m_bitmap = std::move(map);
    m_width = m_bitmap.Width();
    m_height = m_bitmap.Height();
    // No state of this history matches a file: Undo and Redo never clear the mark.
    m_history.Reset(m_bitmap, false);
    m_modified = true;
    WholeMapChanged();
    UpdateAllViews(1);
}

void CZKDoc::NoteHistoryMove() {
    const UndoRecord* step = m_history.LastMoved();
    if (!step)
        return;
    if (step->IsWhole()) {
        WholeMapChanged();
        return;
    }
    // Only the swapped tiles changed: the others who keep copies follow them as they follow a
    // stroke.
    for (const gdi::Rect& r : step->TileRects())
        m_watchers.TellAllBut(&m_history, m_bitmap, r);
}

bool CZKDoc::OnNewDocument() {
    if (!CheckSize(m_width, m_height).empty()) {
        m_width = kDefaultWidth;
        m_height = kDefaultHeight;
    }
    return NewMap(m_width, m_height);
}

bool CZKDoc::NewMap(int width, int height, std::string* why) {
    gdi::Bitmap map = NewWhiteMap(width, height, why);
    if (map.IsNull())
        return false;
    m_pathName.clear();
    m_title = kUntitledTitle;
    m_format = MapFormat::Bmp;
    ReplaceMap(std::move(map), MapChange::NewHistory);
    return true;
}

gdi::Bitmap CZKDoc::NewWhiteMap(int width, int height, std::string* why) {
    if (std::string e = CheckSize(width, height); !e.empty()) {
        Fail(why, e);
        return {};
    }
    gdi::Bitmap map = WhiteMap(width, height);
    if (map.IsNull())
        Fail(why, "not enough memory for the map");
    return map;
}

void CZKDoc::ReplaceMap(gdi::Bitmap map, MapChange change) {
    gdi::Bitmap old = std::exchange(m_bitmap, std::move(map));
    m_width = m_bitmap.Width();
    m_height = m_bitmap.Height();
    RefreshReducedCopies();
    if (change == MapChange::NewHistory) {
        // A map of its own matches its file (or has none yet).
        m_history.Reset(m_bitmap);
        m_modified = false;
        if (m_recovery)
            m_recovery->Started(m_bitmap, m_pathName, m_title);
    } else {
        // Undo brings back the old size: the step keeps the old map whole.
        m_history.KeepWhole(std::move(old), m_bitmap);
        m_modified = true;
        if (m_recovery)
            m_recovery->WholeChange(m_bitmap);
    }
    UpdateAllViews(1);
}

void CZKDoc::SaveUndo() {
    m_history.BeginStep(m_bitmap);
}

void CZKDoc::OnEditUndo() {
    if (m_history.Undo(m_bitmap)) {
        NoteHistoryMove();
        AfterHistoryMove();
    }
}

void CZKDoc::OnEditRedo() {
    if (m_history.Redo(m_bitmap)) {
        NoteHistoryMove();
        AfterHistoryMove();
    }
}

void CZKDoc::AfterHistoryMove() {
    m_width = m_bitmap.Width();
    m_height = m_bitmap.Height();
    m_modified = !m_history.IsClean();
    UpdateAllViews(1);
}

gdi::Bitmap CZKDoc::UndoPicture() const {
    return m_history.UndoPicture(m_bitmap);
}

void CZKDoc::SetModifiedFlag(bool modified) {
    m_modified = modified;
    if (!modified)
        m_history.MarkClean(m_bitmap);
}

bool CZKDoc::Resize(int width, int height, std::string* why) {
    gdi::Bitmap map = NewWhiteMap(width, height, why);
    if (map.IsNull())
        return false;
    // The old map at (0, 0), unscaled: what lies beyond the new size is cut off.
    const int w = std::min(width, m_bitmap.Width());
    const int h = std::min(height, m_bitmap.Height());
    for (int y = 0; y < h; ++y)
        std::copy_n(m_bitmap.Row(y), w, map.Row(y));
    ReplaceMap(std::move(map), MapChange::Undoable);
    return true;
}

bool CZKDoc::OnOpenDocument(const std::string& path, std::string* why) {
    // The copies are made again from whatever map is shown next; their memory is better spent
    // on the picture being read.
    m_reduced.Reset(m_bitmap);
    gdi::Bitmap map;
    BitmapError error;
    MapFormat format = MapFormat::Bmp;
    if (!ReadMapFile(path, map, &format, &error))
        return Fail(why, error.message);
    SetPathName(path);
    m_format = format;
    ReplaceMap(std::move(map), MapChange::NewHistory);
    return true;
}

bool CZKDoc::OnSaveDocument(const std::string& path, MapFormat format, std::string* why) {
    BitmapError error;
    if (!WriteMapFile(path, m_bitmap, format, &error))
        return Fail(why, error.message);
    SetPathName(path);
    m_format = format;
    SetModifiedFlag(false);
    // The saved file is the new base: nothing is left to recover.
    if (m_recovery)
        m_recovery->Started(m_bitmap, m_pathName, m_title);
    return true;
}

bool CZKDoc::OnSaveDocument(const std::string& path, std::string* why) {
    return OnSaveDocument(path, MapFormatOfName(path).value_or(m_format), why);
}

void CZKDoc::SetPathName(const std::string& path) {
    m_pathName = path;
    m_title = std::filesystem::path(path).filename().string();
}

void CZKDoc::AddView(DocListener* view) {
    if (std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void CZKDoc::RemoveView(DocListener* view) {
    std::erase(m_views, view);
}

void CZKDoc::UpdateAllViews(int hint) {
    for (DocListener* v : m_views)
        v->OnUpdate(hint);
}

}  // namespace zk
