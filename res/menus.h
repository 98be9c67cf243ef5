// The menus with their texts and shortcut labels, the keys, the bars' buttons and the status bar's
// texts: the one place they are written. The main window is built from these tables, and the
// tests and the help page are checked against them.
#pragma once

#include <QCoreApplication>
#include <QKeyCombination>
#include <string_view>

#include "res/resource.h"

namespace zk::res {

enum class MenuEntryKind { Item, Separator, Submenu, End };

// One entry of a menu. A submenu's entries follow it up to its End; the menu bar's own menus are
// submenus at the top level.
struct MenuEntry {
    MenuEntryKind kind;
    std::string_view text;        // with its & mnemonic
    int id = 0;                   // an item's command
    std::string_view label = {};  // an item's shortcut label, shown after a tab; empty for none
};

constexpr MenuEntry Menu(std::string_view text) {
    return {MenuEntryKind::Submenu, text};
}
constexpr MenuEntry Item(int id, std::string_view text, std::string_view label = {}) {
    return {MenuEntryKind::Item, text, id, label};
}
inline constexpr MenuEntry kSeparator{MenuEntryKind::Separator, {}};
inline constexpr MenuEntry kEnd{MenuEntryKind::End, {}};

// The menu bar. The tool labels follow the menu's order while the keys follow the tool palette's
// (kAccelerators), so from Ctrl+4 on a label and its key name different tools, as they always
// have.
inline constexpr MenuEntry kMainMenu[] = {
    Menu(QT_TRANSLATE_NOOP("Menu", "&Soubor")),
    Item(ID_FILE_NEW, QT_TRANSLATE_NOOP("Menu", "&Nový"), "Ctrl+N"),
    Item(ID_FILE_OPEN, QT_TRANSLATE_NOOP("Menu", "&Otevřít..."), "Ctrl+O"),
    Item(ID_FILE_SAVE, QT_TRANSLATE_NOOP("Menu", "&Uložit"), "Ctrl+S"),
    Item(ID_FILE_SAVE_AS, QT_TRANSLATE_NOOP("Menu", "Uložit &jako...")),
    Item(ID_FILE_EXPORT, QT_TRANSLATE_NOOP("Menu", "Exportovat...")),
    kSeparator,
    Item(ID_FILE_PRINT, QT_TRANSLATE_NOOP("Menu", "&Tisk..."), "Ctrl+P"),
    Item(ID_FILE_PRINT_SCALED, QT_TRANSLATE_NOOP("Menu", "Tisk v &měřítku...")),
    Item(ID_FILE_PRINT_PREVIEW, QT_TRANSLATE_NOOP("Menu", "Ná&hled")),
    Item(ID_FILE_PRINT_SETUP, QT_TRANSLATE_NOOP("Menu", "Na&stavení tisku...")),
    kSeparator,
    // Stands, greyed, where the recent files go while there are none.
    Item(ID_FILE_MRU_FILE1, QT_TRANSLATE_NOOP("Menu", "Nedávný soubor")),
    kSeparator,
    Item(ID_APP_EXIT, QT_TRANSLATE_NOOP("Menu", "Konec")),
    kEnd,

    Menu(QT_TRANSLATE_NOOP("Menu", "&Úpravy")),
    Item(ID_EDIT_UNDO, QT_TRANSLATE_NOOP("Menu", "&Zpět"), "Ctrl+Z"),
    Item(ID_EDIT_REDO, QT_TRANSLATE_NOOP("Menu", "Z&novu"), "Ctrl+Y"),
    kSeparator,
    Item(ID_EDIT_CUT, QT_TRANSLATE_NOOP("Menu", "&Vyjmout"), "Ctrl+X"),
    Item(ID_EDIT_COPY, QT_TRANSLATE_NOOP("Menu", "&Kopírovat"), "Ctrl+C"),
    Item(ID_EDIT_PASTE, QT_TRANSLATE_NOOP("Menu", "V&ložit"), "Ctrl+V"),
    kEnd,

    Menu(QT_TRANSLATE_NOOP("Menu", "&Zobrazit")),
    Menu(QT_TRANSLATE_NOOP("Menu", "Panely")),
    Item(ID_VIEW_TOOLBAR, QT_TRANSLATE_NOOP("Menu", "&Panel nástrojů")),
    Item(ID_VIEW_SIZEBAR, QT_TRANSLATE_NOOP("Menu", "Panel velikostí")),
    Item(ID_VIEW_TOOLSBAR, QT_TRANSLATE_NOOP("Menu", "Paleta nástrojů")),
    Item(ID_VIEW_PATTERNBAR, QT_TRANSLATE_NOOP("Menu", "Paleta výplní/symbolů")),
    Item(ID_VIEW_STATUS_BAR, QT_TRANSLATE_NOOP("Menu", "&Stavový řádek")),
    kEnd,
    kSeparator,
    Item(ID_VIEW_ZOOMIN, QT_TRANSLATE_NOOP("Menu", "Přiblížit"), "+"),
    Item(ID_VIEW_ZOOMOUT, QT_TRANSLATE_NOOP("Menu", "Oddálit"), "-"),
    // Fit in window and actual size, on GIMP's keys.
    Item(ID_VIEW_ZOOMFIT, QT_TRANSLATE_NOOP("Menu", "Celá mapa"), "Ctrl+Shift+J"),
    Item(ID_VIEW_ZOOMACTUAL, QT_TRANSLATE_NOOP("Menu", "Skutečná velikost"), "1"),
    kSeparator,
    Item(ID_VIEW_GRID, QT_TRANSLATE_NOOP("Menu", "&Mřížka"), "Ctrl+G"),
    kEnd,

    Menu(QT_TRANSLATE_NOOP("Menu", "&Nástroje")),
    Menu(QT_TRANSLATE_NOOP("Menu", "&Nástroje")),
    Item(ID_TOOL_TILES, QT_TRANSLATE_NOOP("Menu", "dlaždice"), "Ctrl+1"),
    Item(ID_TOOL_GRIDTILES, QT_TRANSLATE_NOOP("Menu", "dlaždice v síti"), "Ctrl+2"),
    Item(ID_TOOL_FREEHAND, QT_TRANSLATE_NOOP("Menu", "kreslení"), "Ctrl+3"),
    Item(ID_TOOL_RECTANGLE, QT_TRANSLATE_NOOP("Menu", "obdélník"), "Ctrl+4"),
    Item(ID_TOOL_ELLIPSE, QT_TRANSLATE_NOOP("Menu", "elipsa"), "Ctrl+5"),
    Item(ID_TOOL_POLYGON, QT_TRANSLATE_NOOP("Menu", "mnohoúhelník"), "Ctrl+6"),
    Item(ID_TOOL_TEXT, QT_TRANSLATE_NOOP("Menu", "text"), "Ctrl+7"),
    Item(ID_TOOL_SYMBOLS, QT_TRANSLATE_NOOP("Menu", "symboly"), "Ctrl+8"),
    Item(ID_TOOL_SELECT, QT_TRANSLATE_NOOP("Menu", "vybrat"), "Ctrl+9"),
    Item(ID_TOOL_LINES, QT_TRANSLATE_NOOP("Menu", "čáry"), "Ctrl+0"),
    kEnd,
    Menu(QT_TRANSLATE_NOOP("Menu", "Velikost")),
    Item(ID_SIZE_NONE, QT_TRANSLATE_NOOP("Menu", "žádná")),
    Item(ID_SIZE_SMALL, QT_TRANSLATE_NOOP("Menu", "malá")),
    Item(ID_SIZE_MEDIUM, QT_TRANSLATE_NOOP("Menu", "střední")),
    Item(ID_SIZE_LARGE, QT_TRANSLATE_NOOP("Menu", "velká")),
    kEnd,
    kEnd,

    Menu(QT_TRANSLATE_NOOP("Menu", "&Nastavení")),
    Item(ID_SETTINGS, QT_TRANSLATE_NOOP("Menu", "&Nastavení...")),
    Item(ID_GRID_LARGER, QT_TRANSLATE_NOOP("Menu", "Zvětšit mřížku"), "PageUp"),
    Item(ID_GRID_SMALLER, QT_TRANSLATE_NOOP("Menu", "Zmenšit mřížku"), "PageDown"),
    kSeparator,
    // Each language under its own name, whatever the program speaks.
    Menu(QT_TRANSLATE_NOOP("Menu", "&Jazyk")),
    Item(ID_LANGUAGE_DESKTOP, QT_TRANSLATE_NOOP("Menu", "Podle &systému")),
    Item(ID_LANGUAGE_CZECH, QT_TRANSLATE_NOOP("Menu", "Čeština")),
    Item(ID_LANGUAGE_ENGLISH, QT_TRANSLATE_NOOP("Menu", "English")),
    kEnd,
    kEnd,

    Menu(QT_TRANSLATE_NOOP("Menu", "&Nápověda")),
    Item(ID_APP_ABOUT, QT_TRANSLATE_NOOP("Menu", "&O programu ZK...")),
    Item(ID_HELP_INDEX, QT_TRANSLATE_NOOP("Menu", "&Nápověda"), "F1"),
    kEnd,
};

// A key and the command it sends. `keys` names it as the help page does.
struct Accelerator {
    std::string_view keys;
    QKeyCombination combination;
    int id;
};

// The numeric keypad's + and - zoom; the main keyboard's do not.
inline constexpr Accelerator kAccelerators[] = {
    {"Ctrl+N", QKeyCombination(Qt::ControlModifier, Qt::Key_N), ID_FILE_NEW},
    {"Ctrl+O", QKeyCombination(Qt::ControlModifier, Qt::Key_O), ID_FILE_OPEN},
    {"Ctrl+S", QKeyCombination(Qt::ControlModifier, Qt::Key_S), ID_FILE_SAVE},
    {"Ctrl+P", QKeyCombination(Qt::ControlModifier, Qt::Key_P), ID_FILE_PRINT},
    {"Ctrl+Z", QKeyCombination(Qt::ControlModifier, Qt::Key_Z), ID_EDIT_UNDO},
    {"Alt+Backspace", QKeyCombination(Qt::AltModifier, Qt::Key_Backspace), ID_EDIT_UNDO},
    {"Ctrl+Y", QKeyCombination(Qt::ControlModifier, Qt::Key_Y), ID_EDIT_REDO},
    {"Ctrl+Shift+Z", QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z),
     ID_EDIT_REDO},
    {"Ctrl+X", QKeyCombination(Qt::ControlModifier, Qt::Key_X), ID_EDIT_CUT},
    {"Shift+Delete", QKeyCombination(Qt::ShiftModifier, Qt::Key_Delete), ID_EDIT_CUT},
    {"Ctrl+C", QKeyCombination(Qt::ControlModifier, Qt::Key_C), ID_EDIT_COPY},
    {"Ctrl+Insert", QKeyCombination(Qt::ControlModifier, Qt::Key_Insert), ID_EDIT_COPY},
    {"Ctrl+V", QKeyCombination(Qt::ControlModifier, Qt::Key_V), ID_EDIT_PASTE},
    {"Shift+Insert", QKeyCombination(Qt::ShiftModifier, Qt::Key_Insert), ID_EDIT_PASTE},
    {"Ctrl+G", QKeyCombination(Qt::ControlModifier, Qt::Key_G), ID_VIEW_GRID},
    {"+", QKeyCombination(Qt::KeypadModifier, Qt::Key_Plus), ID_VIEW_ZOOMIN},
    {"-", QKeyCombination(Qt::KeypadModifier, Qt::Key_Minus), ID_VIEW_ZOOMOUT},
    {"Ctrl+Shift+J", QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_J),
     ID_VIEW_ZOOMFIT},
    {"1", QKeyCombination(Qt::NoModifier, Qt::Key_1), ID_VIEW_ZOOMACTUAL},
    {"PageUp", QKeyCombination(Qt::NoModifier, Qt::Key_PageUp), ID_GRID_LARGER},
    {"PageDown", QKeyCombination(Qt::NoModifier, Qt::Key_PageDown), ID_GRID_SMALLER},
    {"F1", QKeyCombination(Qt::NoModifier, Qt::Key_F1), ID_HELP_INDEX},
    // The tools in the tool palette's order.
    {"Ctrl+1", QKeyCombination(Qt::ControlModifier, Qt::Key_1), ID_TOOL_TILES},
    {"Ctrl+2", QKeyCombination(Qt::ControlModifier, Qt::Key_2), ID_TOOL_GRIDTILES},
    {"Ctrl+3", QKeyCombination(Qt::ControlModifier, Qt::Key_3), ID_TOOL_FREEHAND},
    {"Ctrl+4", QKeyCombination(Qt::ControlModifier, Qt::Key_4), ID_TOOL_LINES},
    {"Ctrl+5", QKeyCombination(Qt::ControlModifier, Qt::Key_5), ID_TOOL_RECTANGLE},
    {"Ctrl+6", QKeyCombination(Qt::ControlModifier, Qt::Key_6), ID_TOOL_ELLIPSE},
    {"Ctrl+7", QKeyCombination(Qt::ControlModifier, Qt::Key_7), ID_TOOL_POLYGON},
    {"Ctrl+8", QKeyCombination(Qt::ControlModifier, Qt::Key_8), ID_TOOL_TEXT},
    {"Ctrl+9", QKeyCombination(Qt::ControlModifier, Qt::Key_9), ID_TOOL_SYMBOLS},
    {"Ctrl+0", QKeyCombination(Qt::ControlModifier, Qt::Key_0), ID_TOOL_SELECT},
};

// The bars' buttons in order; 0 is a separator.
// clang-format off
inline constexpr int kMainToolBar[] = {ID_FILE_NEW,
                                       ID_FILE_OPEN,
                                       ID_FILE_SAVE,
                                       0,
                                       ID_EDIT_CUT,
                                       ID_EDIT_COPY,
                                       ID_EDIT_PASTE,
                                       0,
                                       ID_FILE_PRINT,
                                       0,
                                       ID_EDIT_UNDO,
                                       ID_EDIT_REDO,
                                       0,
                                       ID_VIEW_ZOOMIN,
                                       ID_VIEW_ZOOMOUT,
                                       ID_VIEW_ZOOMFIT,
                                       0,
                                       ID_VIEW_GRID,
                                       ID_GRID_SMALLER,
                                       ID_GRID_LARGER,
                                       0,
                                       ID_APP_ABOUT};
// clang-format on
inline constexpr int kToolPalette[] = {
    ID_TOOL_TILES,   ID_TOOL_GRIDTILES, ID_TOOL_FREEHAND, ID_TOOL_LINES,   ID_TOOL_RECTANGLE,
    ID_TOOL_ELLIPSE, ID_TOOL_POLYGON,   ID_TOOL_TEXT,     ID_TOOL_SYMBOLS, ID_TOOL_SELECT};
inline constexpr int kSizeBar[] = {ID_SIZE_NONE, ID_SIZE_SMALL, ID_SIZE_MEDIUM, ID_SIZE_LARGE};

// The bars' captions (shown when they float).
inline constexpr std::string_view kMainToolBarTitle = QT_TRANSLATE_NOOP("Menu", "Panel nástrojů");
inline constexpr std::string_view kToolPaletteTitle = QT_TRANSLATE_NOOP("Menu", "Paleta nástrojů");
inline constexpr std::string_view kSizeBarTitle = QT_TRANSLATE_NOOP("Menu", "Panel velikostí");
inline constexpr std::string_view kPatternBarTitle = QT_TRANSLATE_NOOP("Menu", "Výplně");

// The status bar: the message pane's idle text, then the lock-key indicators.
inline constexpr std::string_view kIdleMessage = QT_TRANSLATE_NOOP("Menu", "Připraven");
inline constexpr std::string_view kLockIndicators[] = {"CAP", "NUM", "SCRL"};

// The file dialogs' filters: the map formats one by one and together (Open and Save As), and the
// formats a map is exported in.
inline constexpr std::string_view kBmpFilter = QT_TRANSLATE_NOOP("Menu", "Mapy BMP (*.bmp)");
inline constexpr std::string_view kPngFilter = QT_TRANSLATE_NOOP("Menu", "Mapy PNG (*.png)");
inline constexpr std::string_view kMapFilesFilter =
    QT_TRANSLATE_NOOP("Menu", "Mapy BMP a PNG (*.bmp *.png)");
inline constexpr std::string_view kPngExportFilter =
    QT_TRANSLATE_NOOP("Menu", "Obrázek PNG (*.png)");
inline constexpr std::string_view kUvttExportFilter = "Universal VTT (*.uvtt *.dd2vtt)";
inline constexpr std::string_view kPdfExportFilter =
    QT_TRANSLATE_NOOP("Menu", "Dokument PDF v měřítku (*.pdf)");

// A text of these tables as it is written, in UTF-8.
inline QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A text of these tables in the language the program speaks.
inline QString Tr(std::string_view text) {
    return QCoreApplication::translate("Menu", text.data());
}

// The menu item of a command; null when it has none.
constexpr const MenuEntry* FindMenuItem(int id) {
    for (const MenuEntry& e : kMainMenu)
        if (e.kind == MenuEntryKind::Item && e.id == id)
            return &e;
    return nullptr;
}

}  // namespace zk::res
