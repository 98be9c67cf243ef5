// Universal VTT files (.uvtt, which virtual tabletops also read as .dd2vtt): a map with the grid
// it is drawn on, for a table that lays its own grid, walls and lights over it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "doc/bitmap_file.h"
#include "gdi/bitmap.h"

namespace zk {

// The file's JSON text: format 0.3; "resolution" with "map_origin" (0, 0), "map_size" in grid
// cells of `gridStep` pixels (a fraction where a side is not a whole number of cells) and
// "pixels_per_grid" `gridStep`; empty "line_of_sight", "portals" and "lights"; "image", the map
// as a PNG file (BitmapToPng) in base64. nullopt for an empty bitmap, a step below 1 or when
// memory runs out.
std::optional<std::string> BitmapToUvtt(const gdi::Bitmap& bitmap, int gridStep,
                                        BitmapError* error = nullptr);
// Writes that file, replacing any old one atomically (AtomicFile).
bool WriteUvttFile(const std::filesystem::path& path, const gdi::Bitmap& bitmap, int gridStep,
                   BitmapError* error = nullptr);

}  // namespace zk
