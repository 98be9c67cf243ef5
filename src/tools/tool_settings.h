// The process-wide tool parameters: read by the tools at the moment they draw, changed by the
// palettes, the size bar, the view's commands and the settings dialog, and kept across runs
// (the first seven) in the settings store.
#pragma once

namespace zk {

struct ToolSettings {
    // Persistent, read at start-up and written at exit.
    static inline int tool = 5;      // current tool kind, 0..9
    static inline int fill = 8;      // primary brush index, 0..15
    static inline int secfill = 4;   // secondary brush index, 0..15
    static inline int line = 0;      // line size 0..3
    static inline int grid = 16;     // grid step in map pixels, 1..256
    static inline int symbol = 0;    // current symbol index, 0..15
    static inline int overgrid = 1;  // carried through the settings dialog, read by no drawing

    // The zoom steps: every power of two from 1/64 (a 16384-pixel map in 256 window pixels) to
    // 32 (a map pixel as a 32 x 32 block).
    static constexpr float kMinZoom = 1.0f / 64;
    static constexpr float kMaxZoom = 32.0f;

    // Not persistent.
    static inline float zoom = 1.0f;       // kMinZoom .. kMaxZoom, powers of two
    static inline int tilesize = 0;        // 0..3: tiles of 1..4 grid cells
    static inline int symbolrotation = 0;  // 0..3 quarter turns counter-clockwise

    // The grid step as every division by it takes it: at least 1, whatever was stored.
    static int GridStep() { return grid < 1 ? 1 : grid; }
    // A grid step from outside brought into 1..256, the settings dialog's bounds.
    static int ValidGrid(int step);

    // Brings values read from outside (the settings store) into the ranges the tools rely on:
    // a grid step that divides must be at least 1, an index must never reach past the pattern
    // library, and an unknown tool becomes the grid tiles tool, the first run's.
    static void Sanitize();
    // Back to the values of a first run.
    static void ResetToDefaults();
};

// Tool kinds, the values of ToolSettings::tool.
enum ToolKind {
    kTilesTool = 0,
    kFreehandTool = 1,
    kRectangleTool = 2,
    kEllipseTool = 3,
    kPolygonTool = 4,
    kGridTilesTool = 5,
    kTextTool = 6,
    kSymbolTool = 7,
    kSelectTool = 8,
    kLinesTool = 9,
};

}  // namespace zk
