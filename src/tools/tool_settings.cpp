#include "tools/tool_settings.h"

#include <algorithm>

namespace zk {

int ToolSettings::ValidGrid(int step) {
    return std::clamp(step, 1, 256);
}

void ToolSettings::Sanitize() {
    grid = ValidGrid(grid);
    fill = std::clamp(fill, 0, 15);
    secfill = std::clamp(secfill, 0, 15);
    symbol = std::clamp(symbol, 0, 15);
    line = std::clamp(line, 0, 3);
    tilesize = std::clamp(tilesize, 0, 3);
    symbolrotation = std::clamp(symbolrotation, 0, 3);
    // A tool the program does not have would leave the view painting nothing: start with the
    // one a first run starts with.
    if (tool < kTilesTool || tool > kLinesTool)
        tool = kGridTilesTool;
}

void ToolSettings::ResetToDefaults() {
    tool = 5;
    fill = 8;
    secfill = 4;
    line = 0;
    grid = 16;
    symbol = 0;
    overgrid = 1;
    zoom = 1.0f;
    tilesize = 0;
    symbolrotation = 0;
}

}  // namespace zk
