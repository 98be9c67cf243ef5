#include "app/frame_prompts.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QPushButton>
#include <QUrl>

#include "app/file_kind.h"
#include "app/help_page.h"
#include "app/language.h"
#include "app/map_export.h"
#include "res/menus.h"
#include "ui/new_map_dlg.h"
#include "ui/settings_dlg.h"
#include "view/zk_view.h"

namespace zk {

namespace {

// A save dialog offering `kinds` (and, when `together` is given, a filter of all of them) with
// the kind `offered` chosen first. The dialog adds the chosen filter's extension to a name
// without one, so that its question about replacing a file is about the file written.
SaveChoice AskSaveFile(QWidget* parent, const QString& suggested, std::span<const FileKind> kinds,
                       std::string_view together, int offered) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const FileKind& kind : kinds)
        filters << res::Tr(kind.filter);
    if (!together.empty())
        filters << res::Tr(together);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters[offered]);
    const auto suffixOf = [&](const QString& filter) {
        const qsizetype i = filters.indexOf(filter);
        const std::size_t kind = i >= 0 && i < static_cast<qsizetype>(kinds.size())
                                     ? static_cast<std::size_t>(i)
                                     : static_cast<std::size_t>(offered);
        return res::Utf8(kinds[kind].extensions[0].substr(1));
    };
    dialog.setDefaultSuffix(suffixOf(filters[offered]));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&](const QString& filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    if (chosen >= static_cast<qsizetype>(kinds.size()))
        chosen = -1;
    return ChooseSaveFile(dialog.selectedFiles().first(), kinds, static_cast<int>(chosen), offered);
}

}  // namespace

QString FramePrompts::AskOpenPath(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    QStringList filters;
    for (const FileKind& kind : kMapKinds)
        filters << res::Tr(kind.filter);
    filters << res::Tr(res::kMapFilesFilter);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.last());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QString FramePrompts::AskSavePath(QWidget* parent, const QString& suggested, MapFormat& format) {
    const SaveChoice choice =
        AskSaveFile(parent, suggested, kMapKinds, res::kMapFilesFilter, static_cast<int>(format));
    if (choice.kind >= 0)
        format = static_cast<MapFormat>(choice.kind);
    return choice.path;
}

QString FramePrompts::AskExportPath(QWidget* parent, const QString& suggested, int& format) {
    const SaveChoice choice = AskSaveFile(parent, suggested, ExportKinds(), {}, format);
    if (choice.kind >= 0)
        format = choice.kind;
    return choice.path;
}

FramePrompts::RecoveryAnswer FramePrompts::AskRestore(QWidget* parent, const QString& name,
                                                      const QString& changed) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("ZK"),
                    tr("Mapa %1 nebyla uložena, když ZK naposledy skončil.\n"
                       "Poslední změna: %2.\n\nObnovit ji?")
                        .arg(name, changed),
                    QMessageBox::NoButton, parent);
    QPushButton* restore = box.addButton(tr("Obnovit"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(tr("Zahodit"), QMessageBox::DestructiveRole);
    box.addButton(tr("Ponechat na později"), QMessageBox::RejectRole);
    box.setDefaultButton(restore);
    box.exec();
    if (box.clickedButton() == restore)
        return RecoveryAnswer::Restore;
    if (box.clickedButton() == discard)
        return RecoveryAnswer::Discard;
    return RecoveryAnswer::Keep;
}

QMessageBox::StandardButton FramePrompts::AskSaveChanges(QWidget* parent, const QString& title) {
    return QMessageBox::question(parent, QStringLiteral("ZK"), tr("Uložit změny do %1?").arg(title),
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                 QMessageBox::Yes);
}

void FramePrompts::ShowError(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QStringLiteral("ZK"), text);
}

bool FramePrompts::AskReduceColors(QWidget* parent, quint32 colors) {
    return QMessageBox::question(parent, QStringLiteral("ZK"),
                                 tr("Mapa má %1 barev; 8bitový soubor jich pojme 256.\n"
                                    "Uložit ji s každou barvou nahrazenou nejbližší "
                                    "z 256 standardních?")
                                     .arg(colors),
                                 QMessageBox::Save | QMessageBox::Cancel,
                                 QMessageBox::Cancel) == QMessageBox::Save;
}

bool FramePrompts::AskRetryPatternWrite(QWidget* parent, const QString& text) {
    return QMessageBox::warning(parent, QStringLiteral("ZK"), text,
                                QMessageBox::Retry | QMessageBox::Discard,
                                QMessageBox::Retry) == QMessageBox::Retry;
}

bool FramePrompts::AskNewMapSize(QWidget* parent, int& width, int& height) {
    CNewMapDlg dlg(parent);
    dlg.m_width = width;
    dlg.m_height = height;
    if (dlg.exec() != QDialog::Accepted)
        return false;
    width = dlg.m_width;
    height = dlg.m_height;
    return true;
}

bool FramePrompts::AskSettings(QWidget* parent, int& grid, int& width, int& height, int& overgrid) {
    CSettingsDlg dlg(parent);
    dlg.m_grid = grid;
    dlg.m_width = width;
    dlg.m_height = height;
    dlg.m_overgrid = overgrid;
    if (dlg.exec() != QDialog::Accepted)
        return false;
    grid = dlg.m_grid;
    width = dlg.m_width;
    height = dlg.m_height;
    overgrid = dlg.m_overgrid;
    return true;
}

QString FramePrompts::HelpPage() {
    return HelpPageToOpen(CurrentLanguage());
}

bool FramePrompts::ShowHelpPage(const QString& page) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(page));
}

bool FramePrompts::AskScaledPdf(CZKView* view) {
    return view->AskScaledPrint(tr("Exportovat"));
}

}  // namespace zk
