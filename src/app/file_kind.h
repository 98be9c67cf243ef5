// The kinds of file the save dialogs offer, and what the name and the filter a user chose make
// of an answer: one rule for Save As and Export alike.
#pragma once

#include <QString>
#include <array>
#include <span>
#include <string_view>

#include "doc/map_file.h"
#include "res/menus.h"

namespace zk {

// A kind of file: its dialog filter and its extensions (with their dots, "" for none left), the
// first of them given to a name that has none.
struct FileKind {
    std::string_view filter;
    std::array<std::string_view, 2> extensions;
};

// The map formats in the order of MapFormat; Open and Save As offer them one by one and, as a
// filter of its own, together (kMapFilesFilter).
inline constexpr FileKind kMapKinds[] = {
    {res::kBmpFilter, {".bmp", ""}},
    {res::kPngFilter, {".png", ""}},
};
constexpr const FileKind& KindOf(MapFormat format) {
    return kMapKinds[static_cast<int>(format)];
}

// The kind among `kinds` whose extension the name ends in (in any case); -1 for none.
int KindOfName(const QString& path, std::span<const FileKind> kinds);

// What a save dialog's answer writes: the name chosen, and its kind.
struct SaveChoice {
    QString path;
    int kind = -1;
};
// A name whose extension is one of the kinds' is of that kind. Any other is of the kind of the
// filter chosen (`chosen`, an index into `kinds`; -1 for a filter of several kinds, which means
// `fallback`), and gets that kind's first extension when it has no extension at all.
SaveChoice ChooseSaveFile(const QString& typed, std::span<const FileKind> kinds, int chosen,
                          int fallback);

}  // namespace zk
