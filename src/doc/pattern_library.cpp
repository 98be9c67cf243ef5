#include "doc/pattern_library.h"

#include <filesystem>
#include <system_error>

#include "doc/bitmap_file.h"

namespace zk {

PatternLibrary g_patternLibrary;

namespace {

// Whether anything is at the path (a file, a link, even a folder); when that cannot be told,
// it is taken as there, so that nothing is written over it.
bool SomethingAt(const std::filesystem::path& p) {
    std::error_code ec;
    const std::filesystem::file_status st = std::filesystem::symlink_status(p, ec);
    return st.type() != std::filesystem::file_type::not_found;
}

// Reads one slot. On failure the slot gets `fallback`, and `keep` tells whether a file was
// there all the same. A picture larger than any pattern could use is refused like a broken
// file: every stamp of a brush copies it, and the palette shows it whole.
void LoadSlot(const std::string& path, gdi::Bitmap& slot, gdi::Bitmap& loaded, bool& keep,
              gdi::Bitmap fallback) {
    if (ReadBitmapFile(path, slot) && slot.Width() <= PatternLibrary::kMaxSide &&
        slot.Height() <= PatternLibrary::kMaxSide) {
        loaded = slot;
        return;
    }
    slot = std::move(fallback);
    keep = SomethingAt(path);
}

// Writes one slot back when it must be; false, with the reason, when an edit did not reach its
// file. `fallback` is the slot kind's fallback, to tell an edited fallback from an untouched one.
bool SaveSlot(const std::string& path, const gdi::Bitmap& slot, gdi::Bitmap& loaded, bool keep,
              const gdi::Bitmap& fallback, std::string& why) {
    if (slot.IsNull())
        return true;
    const bool edited = loaded.IsNull() ? !(slot == fallback) : !(slot == loaded);
    if (keep) {
        if (!edited)
            return true;
        why = "the file there could not be read when the program started, and is kept as it was";
        return false;
    }
    if (!loaded.IsNull() && !edited)
        return true;
    BitmapError error;
    if (WriteBitmapFile(path, slot, &error)) {
        loaded = slot;
        return true;
    }
    why = error.message;
    return !edited;
}

}  // namespace

gdi::Bitmap PatternLibrary::FallbackBrush() {
    return gdi::Bitmap(8, 8, 32, gdi::kWhite);
}

gdi::Bitmap PatternLibrary::FallbackSymbol() {
    return gdi::Bitmap(16, 16, 1, gdi::kWhite);
}

std::string PatternLibrary::BrushPath(int i) const {
    return m_directory + "brush" + std::to_string(i) + ".bmp";
}

std::string PatternLibrary::SymbolPath(int i) const {
    return m_directory + "symbol" + std::to_string(i) + ".bmp";
}

gdi::Brush PatternLibrary::BrushPattern(int i) const {
    if (i < 0 || i >= kCount)
        return gdi::Brush::Null();
    if (m_brushes[i].IsNull())
        return gdi::Brush::Pattern(FallbackBrush());
    return gdi::Brush::Pattern(m_brushes[i]);
}

void PatternLibrary::Load(const std::string& directorySetting) {
    m_directory = directorySetting;
    if (m_directory.empty()) {
        std::error_code ec;
        std::string cwd = std::filesystem::current_path(ec).string();
        if (!ec && !cwd.empty()) {
            if (cwd.back() == '/')
                cwd.pop_back();
            m_directory = cwd + "/brush/";
        }
        // Otherwise there is no current directory (it was removed under us): the fallbacks
        // only, read from and written to nowhere.
    }
    for (int i = 0; i < kCount; ++i) {
        m_keepBrushFile[i] = m_keepSymbolFile[i] = false;
        m_loadedBrushes[i].Reset();
        m_loadedSymbols[i].Reset();
        if (!m_directory.empty()) {
            LoadSlot(BrushPath(i), m_brushes[i], m_loadedBrushes[i], m_keepBrushFile[i],
                     FallbackBrush());
            LoadSlot(SymbolPath(i), m_symbols[i], m_loadedSymbols[i], m_keepSymbolFile[i],
                     FallbackSymbol());
        } else {
            m_brushes[i] = FallbackBrush();
            m_symbols[i] = FallbackSymbol();
        }
    }
}

std::vector<PatternLibrary::WriteFailure> PatternLibrary::SaveAll() {
    std::vector<WriteFailure> failures;
    if (m_directory.empty())
        return failures;
    const gdi::Bitmap brush = FallbackBrush();
    const gdi::Bitmap symbol = FallbackSymbol();
    std::string why;
    for (int i = 0; i < kCount; ++i) {
        if (!SaveSlot(BrushPath(i), m_brushes[i], m_loadedBrushes[i], m_keepBrushFile[i], brush,
                      why))
            failures.push_back({BrushPath(i), why});
        if (!SaveSlot(SymbolPath(i), m_symbols[i], m_loadedSymbols[i], m_keepSymbolFile[i], symbol,
                      why))
            failures.push_back({SymbolPath(i), why});
    }
    return failures;
}

}  // namespace zk
