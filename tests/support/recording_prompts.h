// Answers the main window's questions from a script and records what it was asked.
#pragma once

#include <QMessageBox>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>

#include "app/file_kind.h"
#include "app/frame_prompts.h"
#include "app/map_export.h"

namespace zk_test {

class RecordingPrompts : public zk::FramePrompts {
  public:
    QString AskOpenPath(QWidget*) override { return openPath; }
    bool AskScaledPdf(zk::CZKView*) override {
        ++scaledPdfAsked;
        return scaledPdfAnswer;
    }
    int scaledPdfAsked = 0;
    bool scaledPdfAnswer = true;
    RecoveryAnswer AskRestore(QWidget*, const QString& name, const QString&) override {
        restoreAsked << name;
        return restoreAnswers.isEmpty() ? RecoveryAnswer::Keep : restoreAnswers.takeFirst();
    }
    // The answers go through the name rule as the dialogs' answers do.
    QString AskSavePath(QWidget*, const QString&, zk::MapFormat& format) override {
        ++saveAsked;
        if (savePath.isEmpty())
            return {};
        const zk::SaveChoice choice =
            zk::ChooseSaveFile(savePath, zk::kMapKinds, saveFilter, static_cast<int>(format));
        format = static_cast<zk::MapFormat>(choice.kind);
        return choice.path;
    }
    QString AskExportPath(QWidget*, const QString& suggested, int& format) override {
        exportSuggested = suggested;
        exportOffered << format;
        if (exportPath.isEmpty())
            return {};
        const zk::SaveChoice choice =
            zk::ChooseSaveFile(exportPath, zk::ExportKinds(), exportFilter, format);
        format = choice.kind;
        return choice.path;
    }
    QMessageBox::StandardButton AskSaveChanges(QWidget*, const QString& title) override {
        askedAbout << title;
        return saveChangesAnswer;
    }
    void ShowError(QWidget*, const QString& text) override { errors << text; }
    bool AskNewMapSize(QWidget*, int& w, int& h) override {
        presetW = w;
        presetH = h;
        if (!newSize)
            return false;
        w = newSize->first;
        h = newSize->second;
        return true;
    }
    bool AskReduceColors(QWidget*, quint32 colors) override {
        reduceAsked << colors;
        return reduceAnswer;
    }
    bool AskRetryPatternWrite(QWidget*, const QString& text) override {
        retryTexts << text;
        return onRetry && onRetry();
    }
    bool AskSettings(QWidget*, int& grid, int& width, int& height, int& overgrid) override {
        if (!settings)
            return false;
        grid = settings->grid;
        width = settings->width;
        height = settings->height;
        overgrid = settings->overgrid;
        return true;
    }
    QString HelpPage() override { return helpPage; }
    bool ShowHelpPage(const QString&) override { return helpShown; }

    struct Settings {
        int grid, width, height, overgrid;
    };
    std::optional<Settings> settings;
    QList<quint32> reduceAsked;
    // The maps offered back after a crash, and the answers given in turn (then: keep).
    QStringList restoreAsked;
    QList<RecoveryAnswer> restoreAnswers;
    bool reduceAnswer = false;
    QStringList retryTexts;
    std::function<bool()> onRetry;
    QString openPath, savePath;
    int saveAsked = 0;
    int saveFilter = -1;  // the filter chosen: a kMapKinds index, -1 for all map files together
    QString exportPath, exportSuggested;
    int exportFilter = -1;  // a kExportFormats index; -1: the one offered
    QList<int> exportOffered;
    QMessageBox::StandardButton saveChangesAnswer = QMessageBox::Cancel;
    QStringList askedAbout, errors;
    std::optional<std::pair<int, int>> newSize;
    int presetW = 0, presetH = 0;
    QString helpPage;
    bool helpShown = false;  // whether a program for HTML pages took the page
};

}  // namespace zk_test
