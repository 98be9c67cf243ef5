// The questions the main window asks the user. The program asks with dialogs; tests answer
// them without any.
#pragma once

#include <QCoreApplication>
#include <QMessageBox>
#include <QString>

#include "doc/map_file.h"

class QWidget;

namespace zk {

class CZKView;

class FramePrompts {
    Q_DECLARE_TR_FUNCTIONS(zk::FramePrompts)

  public:
    // What to do with a map a crashed run left unsaved.
    enum class RecoveryAnswer { Restore, Discard, Keep };
    virtual ~FramePrompts() = default;
    // The print at scale's choices for a PDF export; false when the user cancels.
    virtual bool AskScaledPdf(CZKView* view);
    // A map file to open; empty when the user cancels.
    virtual QString AskOpenPath(QWidget* parent);
    // A name to save the map under, and its format (on entry the map's own, which the dialog
    // offers first); the name's extension or else the filter chosen decides (ChooseSaveFile).
    // Empty when the user cancels.
    virtual QString AskSavePath(QWidget* parent, const QString& suggested, MapFormat& format);
    // A name to export the map to, and its format, an index into kExportFormats (on entry the
    // one offered first); decided as for Save As. Empty when the user cancels.
    virtual QString AskExportPath(QWidget* parent, const QString& suggested, int& format);
    // "Save changes to <title>?": Yes, No or Cancel.
    virtual QMessageBox::StandardButton AskSaveChanges(QWidget* parent, const QString& title);
    virtual void ShowError(QWidget* parent, const QString& text);
    // A run that ended without saving left the map `name`, last changed at `changed`: restore
    // it (the default), throw it away, or keep it for a later start.
    virtual RecoveryAnswer AskRestore(QWidget* parent, const QString& name, const QString& changed);
    // The map has more colours than an 8-bit file keeps: true to save it reduced to the 256
    // standard colours, false to cancel the save.
    virtual bool AskReduceColors(QWidget* parent, quint32 colors);
    // Edited pattern files could not be written (`text` says which and why): true to try again,
    // false to let the edits go.
    virtual bool AskRetryPatternWrite(QWidget* parent, const QString& text);
    // The new-map dialog, preset to width x height; false when cancelled.
    virtual bool AskNewMapSize(QWidget* parent, int& width, int& height);
    // The settings dialog, preset to the values given; false when cancelled.
    virtual bool AskSettings(QWidget* parent, int& grid, int& width, int& height, int& overgrid);
    // The help page to show: help/index.html under the current directory when there is one,
    // else the copy shipped with the program; empty when neither exists.
    virtual QString HelpPage();
    // Hands the page to the desktop's program for HTML pages; false when there is none.
    virtual bool ShowHelpPage(const QString& page);
};

}  // namespace zk
