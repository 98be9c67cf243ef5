// The formats a map is exported in, for other programs and for virtual tabletops: one table that
// the Export command's dialog and the command line's --export both read.
#pragma once

#include <QPageLayout>
#include <QString>
#include <string_view>

#include "app/file_kind.h"
#include "doc/page_layout.h"
#include "gdi/bitmap.h"
#include "res/menus.h"

namespace zk {

enum class ExportKind { Png, Uvtt, Bmp, Pdf };

struct ExportFormat {
    ExportKind kind;
    FileKind file;
    // An 8-bit file: a map of more than 256 colours loses some in it.
    bool keeps256;
};

// In the Export dialog's order, the first one chosen when nothing else is.
inline constexpr ExportFormat kExportFormats[] = {
    {ExportKind::Png, {res::kPngExportFilter, {".png", ""}}, false},
    {ExportKind::Uvtt, {res::kUvttExportFilter, {".uvtt", ".dd2vtt"}}, false},
    {ExportKind::Bmp, {res::kBmpFilter, {".bmp", ""}}, true},
    {ExportKind::Pdf, {res::kPdfExportFilter, {".pdf", ""}}, false},
};

// A PDF is the print at true scale: its cell size, cutting and overlap, and its paper.
struct PdfExport {
    ScaledPrintOptions options;
    QPageLayout page{QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)};
};

// The table's file kinds, for the dialog and the name rule (ChooseSaveFile).
std::span<const FileKind> ExportKinds();
// The format the name's extension names; null for any other name.
const ExportFormat* ExportFormatOfName(const QString& path);
// The extensions there are, for a message: ".png, .uvtt, .dd2vtt or .bmp".
QString ExportExtensions();

// Writes `map` to `path` in `format`, atomically; a Universal VTT file lays a grid of `gridStep`
// pixels (1 to 256) over it. False with the reason in `why`.
bool ExportMap(const ExportFormat& format, const gdi::Bitmap& map, int gridStep,
               const QString& path, QString* why, const PdfExport& pdf = {});

}  // namespace zk
