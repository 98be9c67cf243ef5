#include "app/file_kind.h"

#include <QFileInfo>

namespace zk {

namespace {}  // namespace

int KindOfName(const QString& path, std::span<const FileKind> kinds) {
    for (std::size_t k = 0; k < kinds.size(); ++k)
        for (std::string_view extension : kinds[k].extensions)
            if (!extension.empty() && path.endsWith(res::Utf8(extension), Qt::CaseInsensitive) &&
                path.size() > static_cast<qsizetype>(extension.size()) &&
                path[path.size() - static_cast<qsizetype>(extension.size()) - 1] != '/')
                return static_cast<int>(k);
    return -1;
}

SaveChoice ChooseSaveFile(const QString& typed, std::span<const FileKind> kinds, int chosen,
                          int fallback) {
    SaveChoice choice{typed, KindOfName(typed, kinds)};
    if (choice.kind >= 0)
        return choice;
    choice.kind = chosen >= 0 && chosen < static_cast<int>(kinds.size()) ? chosen : fallback;
    if (QFileInfo(typed).suffix().isEmpty() && !typed.endsWith('.'))
        choice.path += res::Utf8(kinds[static_cast<std::size_t>(choice.kind)].extensions[0]);
    return choice;
}

}  // namespace zk
