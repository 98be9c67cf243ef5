// Everyone who must hear of a change to the map before it happens, told in turn: the undo history
// first (it keeps the old pixels), then whoever keeps other copies of the map. A bitmap has one
// watcher; the document makes this list that one.
#pragma once

#include <algorithm>
#include <vector>

#include "gdi/bitmap.h"

namespace zk {

struct MapWatchers final : gdi::BitmapWatcher {
    std::vector<gdi::BitmapWatcher*> list;

    void Add(gdi::BitmapWatcher* w) {
        if (std::find(list.begin(), list.end(), w) == list.end())
            list.push_back(w);
    }
    void Remove(gdi::BitmapWatcher* w) { std::erase(list, w); }
    void BeforeChange(const gdi::Bitmap& map, const gdi::Rect& area) override {
        for (gdi::BitmapWatcher* w : list)
            w->BeforeChange(map, area);
    }
};

}  // namespace zk
