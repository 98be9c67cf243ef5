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
        TellAllBut(nullptr, map, area);
    }
    // Everyone but `source`, which changed the map itself (the undo history swapping tiles).
    void TellAllBut(const gdi::BitmapWatcher* source, const gdi::Bitmap& map,
                    const gdi::Rect& area) {
        for (gdi::BitmapWatcher* w : list)
            if (w != source)
                w->BeforeChange(map, area);
    }
};

}  // namespace zk
