// Undo as deep as the evening's work: every gesture is one step, kept as the tiles it changed
// (undo_record.h), and Undo and Redo walk the steps back and forth by swapping those tiles with
// the map's. Steps are forgotten, oldest first, once their pixels pass a limit.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>

#include "doc/undo_record.h"
#include "gdi/bitmap.h"

namespace zk {

class UndoHistory final : public gdi::BitmapWatcher {
  public:
    static constexpr std::size_t kMiB = std::size_t{1} << 20;
    static constexpr std::size_t kDefaultLimit = 512 * kMiB;

    UndoHistory();
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    // Nothing to undo or redo: `map` is where the history starts, clean unless told otherwise
    // (a map brought back from a crash matches no file).
    void Reset(const gdi::Bitmap& map, bool clean = true);
    // The gesture in progress ends (a step when it changed anything) and a new one begins on
    // `map`. O(1) in the map's pixels but for one slot per 64 x 64 tile.
    void BeginStep(const gdi::Bitmap& map);
    // A whole-map change: `old` is kept whole as one step, and the next gesture begins on `map`.
    void KeepWhole(gdi::Bitmap old, const gdi::Bitmap& map);

    // Takes back the newest step (the gesture in progress first); false when there is none.
    bool Undo(gdi::Bitmap& map);
    // Gives back the step Undo took last; false when there is none.
    bool Redo(gdi::Bitmap& map);
    bool CanUndo() const { return m_cursor > 0 || m_open->Changed(); }
    bool CanRedo() const { return m_cursor < m_steps.size() && !m_open->Changed(); }

    // The map as it is now matches its file; IsClean() holds again whenever Undo and Redo come
    // back to this point, and never once the steps that lead there are gone.
    void MarkClean(const gdi::Bitmap& map);
    bool IsClean() const;

    // The most pixel bytes the finished steps may keep; the gesture in progress and the newest
    // step are never forgotten.
    void SetLimit(std::size_t bytes);
    std::size_t Limit() const { return m_limit; }
    // Pixel bytes kept: every step and the gesture in progress.
    std::size_t Bytes() const { return m_stepBytes + m_open->Bytes(); }
    std::size_t UndoCount() const { return m_cursor; }
    std::size_t RedoCount() const { return m_steps.size() - m_cursor; }
    // How many steps the limit has forgotten since the last Reset, and how many Resets there were.
    std::size_t Forgotten() const { return m_forgotten; }
    std::size_t Resets() const { return m_resets; }
    const UndoRecord& InProgress() const { return *m_open; }
    // The step the last Undo or Redo swapped; null before the first one and after a Reset.
    const UndoRecord* LastMoved() const { return m_lastMoved; }
    // What Undo would bring back, as a whole picture beside `map`.
    gdi::Bitmap UndoPicture(const gdi::Bitmap& map) const;

    void BeforeChange(const gdi::Bitmap& map, const gdi::Rect& area) override;

  private:
    // The gesture in progress becomes a step when it changed anything; a new one opens on `map`.
    void Finish(const gdi::Bitmap& map);
    void Push(std::unique_ptr<UndoRecord> step);
    // Undo and Redo alike: the step and the map exchange what they hold.
    void Swap(UndoRecord& step, gdi::Bitmap& map);
    void DropRedo();
    void Trim();

    std::deque<std::unique_ptr<UndoRecord>> m_steps;
    // m_steps[0, m_cursor) are undone by Undo, m_steps[m_cursor, end) redone by Redo.
    std::size_t m_cursor = 0;
    std::size_t m_stepBytes = 0;
    std::unique_ptr<UndoRecord> m_open;
    const UndoRecord* m_lastMoved = nullptr;
    // The cursor at which the map matches its file; -1 once that state cannot come back.
    std::ptrdiff_t m_clean = 0;
    std::size_t m_limit = kDefaultLimit;
    std::size_t m_forgotten = 0;
    std::size_t m_resets = 0;
};

}  // namespace zk
