// What the benchmarks share: the map the file figures are measured on (the bitmap and the PNG
// benchmarks), the big map file the undo and recovery figures open, the stroke they and the
// paint figures draw, and the temporary folder the fixtures keep their files in.
#pragma once

#include <filesystem>
#include <string>

#include "gdi/bitmap.h"
#include "gdi/dc.h"

namespace zk_bench {

constexpr int kMapSide = 4096;

// A folder of this process's own in the system's temporary folder, "<name>_<pid>": made when
// constructed, removed with all it holds when destroyed.
class TempDir {
  public:
    explicit TempDir(const std::string& name);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

  private:
    std::filesystem::path m_path;
};

// What a drawn map looks like, kMapSide pixels a side: white, a black grid, and areas filled
// with patterns in colours of the 8-bit file's table (hatching, checks, dots, greys, a few cube
// colours). Drawn on first use and kept, one for all the benchmarks that read it.
const gdi::Bitmap& Map();

// Writes `file` as a bitmap file of a white map `side` pixels a side with a black line down it
// every 256 pixels; aborts if it cannot. The map lives only while it is written.
void WriteStripedMap(const std::filesystem::path& file, int side);

// A freehand stroke of about 200 pixels from (x, y): a wave of 20 segments of 10 pixels, as the
// freehand tool draws them one move at a time.
void Stroke(gdi::DC& dc, int x, int y);

}  // namespace zk_bench
