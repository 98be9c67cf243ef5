// Everyone the map tells before its pixels change: the map has one watcher, and this is it.
#pragma once

#include <vector>

#include "gdi/bitmap.h"

namespace zk {

// Passes each change on to every watcher added, in the order they were added.
class MapWatchers final : public gdi::BitmapWatcher {
  public:
    void Add(gdi::BitmapWatcher* watcher) { m_watchers.push_back(watcher); }

    void BeforeChange(const gdi::Bitmap& map, const gdi::Rect& area) override {
        for (gdi::BitmapWatcher* w : m_watchers)
            w->BeforeChange(map, area);
    }

  private:
    std::vector<gdi::BitmapWatcher*> m_watchers;
};

}  // namespace zk
