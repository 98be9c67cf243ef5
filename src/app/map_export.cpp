#include "app/map_export.h"

#include <QStringList>
#include <array>

#include "doc/bitmap_file.h"
#include "doc/png_file.h"
#include "doc/uvtt_file.h"
#include "view/scaled_print.h"

namespace zk {

namespace {

constexpr std::array<FileKind, std::size(kExportFormats)> MakeKinds() {
    std::array<FileKind, std::size(kExportFormats)> kinds{};
    for (std::size_t i = 0; i < kinds.size(); ++i)
        kinds[i] = kExportFormats[i].file;
    return kinds;
}
constexpr std::array<FileKind, std::size(kExportFormats)> kKinds = MakeKinds();

}  // namespace

std::span<const FileKind> ExportKinds() {
    return kKinds;
}

const ExportFormat* ExportFormatOfName(const QString& path) {
    const int kind = KindOfName(path, kKinds);
    return kind < 0 ? nullptr : &kExportFormats[kind];
}

QString ExportExtensions() {
    QStringList all;
    for (const FileKind& kind : kKinds)
        for (std::string_view extension : kind.extensions)
            if (!extension.empty())
                all << QString::fromLatin1(extension.data(),
                                           static_cast<qsizetype>(extension.size()));
    const QString last = all.takeLast();
    return all.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

bool ExportMap(const ExportFormat& format, const gdi::Bitmap& map, int gridStep,
               const QString& path, QString* why, const PdfExport& pdf) {
    if (format.kind == ExportKind::Pdf)
        return ScaledPrint(map, gridStep, pdf.options, pdf.page).WritePdf(path, why);
    const std::string file = path.toStdString();
    BitmapError error;
    bool written = false;
    switch (format.kind) {
        case ExportKind::Png:
            written = WritePngFile(file, map, &error);
            break;
        case ExportKind::Uvtt:
            written = WriteUvttFile(file, map, gridStep, &error);
            break;
        case ExportKind::Bmp:
            written = WriteBitmapFile(file, map, &error);
            break;
        case ExportKind::Pdf:
            break;
    }
    if (!written && why)
        *why = QString::fromStdString(error.message);
    return written;
}

}  // namespace zk
