#include "doc/zk_doc.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <new>

#include "doc/bitmap_file.h"
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
    m_bitmap.SetWatcher(&m_undo);
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
    CheckUndo();
    if (change == MapChange::Undoable) {
        // Undo brings back the old size: the record keeps the old map whole.
        if (m_undoCheck)
            m_undoCheckCopy = m_bitmap;
        m_undo.KeepWhole(std::move(m_bitmap));
    }
    m_bitmap = std::move(map);
    m_width = m_bitmap.Width();
    m_height = m_bitmap.Height();
    if (change == MapChange::NewHistory)
        OpenRecord();
    // A map of its own matches its file (or has none yet); a changed one is unsaved work.
    m_modified = change == MapChange::Undoable;
    UpdateAllViews(1);
}

void CZKDoc::SaveUndo() {
    CheckUndo();
    OpenRecord();
}

void CZKDoc::OpenRecord() {
    m_undo.Open(m_bitmap);
    if (m_undoCheck)
        CopyBitmap(m_bitmap, m_undoCheckCopy);
}

void CZKDoc::OnEditUndo() {
    gdi::Bitmap before;
    if (m_undoCheck) {
        CheckUndo();
        before = m_bitmap;
    }
    m_undo.SwapWith(m_bitmap);
    if (m_undoCheck) {
        if (!(m_bitmap == m_undoCheckCopy))
            m_undoCheck("undo did not bring back the map as it was at the last press");
        m_undoCheckCopy = std::move(before);
    }
    m_width = m_bitmap.Width();
    m_height = m_bitmap.Height();
    m_modified = true;
    UpdateAllViews(1);
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
    m_modified = false;
    return true;
}

bool CZKDoc::OnSaveDocument(const std::string& path, std::string* why) {
    return OnSaveDocument(path, MapFormatOfName(path).value_or(m_format), why);
}

void CZKDoc::SetUndoCheck(std::function<void(const std::string&)> report) {
    m_undoCheck = std::move(report);
    if (m_undoCheck)
        m_undoCheckCopy = UndoPicture();
    else
        m_undoCheckCopy.Reset();
}

void CZKDoc::CheckUndo() {
    if (!m_undoCheck)
        return;
    const gdi::Bitmap kept = UndoPicture();
    if (kept == m_undoCheckCopy)
        return;
    std::string what = "the undo record lost the map of the last press: ";
    if (kept.Width() != m_undoCheckCopy.Width() || kept.Height() != m_undoCheckCopy.Height()) {
        what += "it keeps " + std::to_string(kept.Width()) + " x " + std::to_string(kept.Height()) +
                " pixels for " + std::to_string(m_undoCheckCopy.Width()) + " x " +
                std::to_string(m_undoCheckCopy.Height());
    } else {
        int first = -1, n = 0;
        for (int y = 0; y < kept.Height(); ++y)
            for (int x = 0; x < kept.Width(); ++x)
                if (kept.GetPixel(x, y) != m_undoCheckCopy.GetPixel(x, y)) {
                    if (first < 0) {
                        first = n;
                        char buf[96];
                        std::snprintf(buf, sizeof buf, "pixel (%d, %d) is %06X, was %06X", x, y,
                                      kept.GetPixel(x, y), m_undoCheckCopy.GetPixel(x, y));
                        what += buf;
                    }
                    ++n;
                }
        what += " (" + std::to_string(n) + " pixels differ: a write that was not announced)";
    }
    m_undoCheck(what);
    // Report each loss once.
    m_undoCheckCopy = kept;
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
