// Command, control and resource identifiers, with the values the program has always used.
#pragma once

namespace zk::res {

// Resources.
constexpr int IDR_MAINFRAME = 128;
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDD_NEWMAP = 130;
constexpr int IDD_FILLS = 160;
constexpr int IDD_SETTINGS = 161;
constexpr int IDR_TOOLS = 137;
constexpr int IDR_PATTERNBAR = 155;
constexpr int IDR_SIZE_TILES = 158;
constexpr int IDR_SIZE_LINES = 165;
constexpr int IDR_SIZE_ROTATION = 167;
constexpr int IDB_FALLBACK_BRUSH = 157;
constexpr int IDB_FALLBACK_SYMBOL = 163;

// Controls.
constexpr int IDC_WIDTH = 1000;
constexpr int IDC_HEIGHT = 1001;
constexpr int IDC_GRID = 1003;
constexpr int IDC_OVERGRID = 1010;

// File and edit commands.
constexpr int ID_FILE_NEW = 57600;
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_SAVE_AS = 57604;
constexpr int ID_FILE_PRINT_SETUP = 57606;
constexpr int ID_FILE_PRINT = 57607;
constexpr int ID_FILE_PRINT_PREVIEW = 57609;
constexpr int ID_FILE_MRU_FILE1 = 57616;
constexpr int ID_EDIT_COPY = 57634;
constexpr int ID_EDIT_CUT = 57635;
constexpr int ID_EDIT_PASTE = 57637;
constexpr int ID_EDIT_UNDO = 57643;
constexpr int ID_EDIT_REDO = 57644;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_NEXT_PANE = 57680;
constexpr int ID_PREV_PANE = 57681;
constexpr int ID_VIEW_TOOLBAR = 59392;
constexpr int ID_VIEW_STATUS_BAR = 59393;
// The map as a PNG picture or a Universal VTT file, for other programs and virtual tabletops.
constexpr int ID_FILE_EXPORT = 32850;

// Tools.
constexpr int ID_TOOL_TILES = 32773;
constexpr int ID_TOOL_FREEHAND = 32789;
constexpr int ID_TOOL_RECTANGLE = 32800;
constexpr int ID_TOOL_ELLIPSE = 32803;
constexpr int ID_TOOL_POLYGON = 32805;
constexpr int ID_TOOL_GRIDTILES = 32807;
constexpr int ID_TOOL_TEXT = 32818;
constexpr int ID_TOOL_SYMBOLS = 32826;
constexpr int ID_TOOL_SELECT = 32828;
constexpr int ID_TOOL_LINES = 32835;

// View.
constexpr int ID_VIEW_GRID = 32784;
constexpr int ID_PATTERN_BUTTON = 32785;
constexpr int ID_VIEW_ZOOMIN = 32786;
constexpr int ID_VIEW_ZOOMOUT = 32787;
constexpr int ID_SIZE_NONE = 32795;
constexpr int ID_SIZE_SMALL = 32796;
constexpr int ID_SIZE_MEDIUM = 32797;
constexpr int ID_SIZE_LARGE = 32798;
constexpr int ID_SETTINGS = 32813;
constexpr int ID_GRID_LARGER = 32823;
constexpr int ID_GRID_SMALLER = 32824;
constexpr int ID_HELP_INDEX = 32841;
constexpr int ID_VIEW_TOOLSBAR = 32842;
constexpr int ID_VIEW_PATTERNBAR = 32843;
constexpr int ID_VIEW_SIZEBAR = 32844;
constexpr int ID_VIEW_ZOOMFIT = 32845;
constexpr int ID_VIEW_ZOOMACTUAL = 32846;
constexpr int ID_FILE_PRINT_SCALED = 32860;
// The language the program speaks: the desktop's, Czech or English.
constexpr int ID_LANGUAGE_DESKTOP = 32870;
constexpr int ID_LANGUAGE_CZECH = 32871;
constexpr int ID_LANGUAGE_ENGLISH = 32872;

}  // namespace zk::res
