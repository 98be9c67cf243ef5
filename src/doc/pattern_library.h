// The pattern library: 16 brushes (fill patterns) and 16 symbols, read from a directory at
// start-up, edited in place while the program runs, and written back at exit.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "gdi/bitmap.h"
#include "gdi/brush.h"

namespace zk {

// The brush indices with a fixed meaning for the filling tools, drawn without their bitmaps
// (each tool says how): no interior, or white; and white with black lines on the grid.
constexpr int kEmptyFill = 0;
constexpr int kGridFloor = 8;

// An index of the library: what a fill may be before a tool takes its bitmap.
constexpr bool IsLibraryIndex(int fill) {
    return fill >= 0 && fill < 16;
}
// A library index painted with its own bitmap: any but the two fixed fills.
constexpr bool IsPatternFill(int fill) {
    return IsLibraryIndex(fill) && fill != kEmptyFill && fill != kGridFloor;
}

class PatternLibrary {
  public:
    static constexpr int kCount = 16;
    static_assert(IsLibraryIndex(kCount - 1) && !IsLibraryIndex(kCount));
    // The largest brush or symbol file read, a side in pixels; a larger one counts as
    // unreadable.
    static constexpr int kMaxSide = 1024;

    PatternLibrary() = default;
    virtual ~PatternLibrary() = default;

    // Fills every slot: from "<dir>brush<i>.bmp" and "<dir>symbol<i>.bmp" in the order brush 0,
    // symbol 0, brush 1, ..., or the built-in fallback of the slot's kind when a file cannot be
    // read. `directorySetting` is the stored "path"/"brush" value, used as a plain prefix; when
    // it is empty the directory is the current directory followed by "/brush/" (when there is
    // no current directory, m_directory stays empty and every slot takes its fallback).
    void Load(const std::string& directorySetting);
    // Writes the slots back to their files (atomically, each). Empty slots are not written, and
    // neither is a slot whose file existed but could not be read at Load: the user's file is
    // worth more than our fallback. A slot still holding the picture read from its file is not
    // written either: rewriting would only convert the user's file to our format and colours.
    // So a file that was missing is created with the slot's picture, and an edited slot replaces
    // its file. The directory itself is never created, and with an empty m_directory (before
    // Load, or when it could not be formed) nothing is written.
    // Returns the edited slots whose files could not be written (the user's work that would be
    // lost), with the reasons; a missing fallback file that cannot be created is no loss. A slot
    // written is then taken as its file's picture, so calling again retries only the failures.
    struct WriteFailure {
        std::string path;
        std::string reason;
    };
    std::vector<WriteFailure> SaveAll();

    // The built-in fallbacks: a white 8 x 8 brush in the display format, a white 16 x 16
    // monochrome symbol.
    static gdi::Bitmap FallbackBrush();
    static gdi::Bitmap FallbackSymbol();

    std::string BrushPath(int i) const;
    std::string SymbolPath(int i) const;

    // A pattern brush of brush slot i, for the filling tools; a null brush (paints nothing) for
    // an index outside 0..15, and the fallback's pattern for a slot that holds no bitmap yet.
    gdi::Brush BrushPattern(int i) const;

    std::string m_directory;
    std::array<gdi::Bitmap, kCount> m_brushes;
    std::array<gdi::Bitmap, kCount> m_symbols;

  private:
    // Slots whose file was there but unreadable at Load; SaveAll leaves those files alone.
    std::array<bool, kCount> m_keepBrushFile{};
    std::array<bool, kCount> m_keepSymbolFile{};
    // The pictures as read from their files (empty for a fallback), to tell edited slots.
    std::array<gdi::Bitmap, kCount> m_loadedBrushes;
    std::array<gdi::Bitmap, kCount> m_loadedSymbols;
};

// The one library of the process.
extern PatternLibrary g_patternLibrary;

}  // namespace zk
