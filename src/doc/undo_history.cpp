#include "doc/undo_history.h"

#include <utility>

namespace zk {

UndoHistory::UndoHistory() : m_open(std::make_unique<UndoRecord>()) {}

void UndoHistory::Reset(const gdi::Bitmap& map, bool clean) {
    m_steps.clear();
    m_lastMoved = nullptr;
    m_cursor = 0;
    m_stepBytes = 0;
    m_clean = clean ? 0 : -1;
    m_forgotten = 0;
    ++m_resets;
    m_open = std::make_unique<UndoRecord>();
    m_open->Open(map);
}

void UndoHistory::Finish(const gdi::Bitmap& map) {
    if (m_open->Changed()) {
        m_open->Close();
        Push(std::exchange(m_open, std::make_unique<UndoRecord>()));
    }
    // A record that kept nothing watches on, fresh for the map's size.
    m_open->Open(map);
}

void UndoHistory::Push(std::unique_ptr<UndoRecord> step) {
    // A change after some undos: what could have been redone is gone.
    DropRedo();
    m_stepBytes += step->Bytes();
    m_steps.push_back(std::move(step));
    ++m_cursor;
    Trim();
}

void UndoHistory::DropRedo() {
    if (m_cursor == m_steps.size())
        return;
    if (m_clean > static_cast<std::ptrdiff_t>(m_cursor))
        m_clean = -1;
    m_lastMoved = nullptr;  // it may be among the steps that go
    while (m_steps.size() > m_cursor) {
        m_stepBytes -= m_steps.back()->Bytes();
        m_steps.pop_back();
    }
}

void UndoHistory::Trim() {
    // The oldest step goes first; with nothing left to undo, the farthest redo does, so that
    // what stays can still be walked in order. The newest step stays whatever its size, so the
    // last gesture can always be taken back.
    while (m_steps.size() > 1 && m_stepBytes > m_limit) {
        m_lastMoved = nullptr;
        if (m_cursor > 0) {
            m_stepBytes -= m_steps.front()->Bytes();
            m_steps.pop_front();
            --m_cursor;
            m_clean = m_clean > 0 ? m_clean - 1 : -1;
        } else {
            if (m_clean == static_cast<std::ptrdiff_t>(m_steps.size()))
                m_clean = -1;
            m_stepBytes -= m_steps.back()->Bytes();
            m_steps.pop_back();
        }
        ++m_forgotten;
    }
}

void UndoHistory::BeginStep(const gdi::Bitmap& map) {
    Finish(map);
}

void UndoHistory::KeepWhole(gdi::Bitmap old, const gdi::Bitmap& map) {
    // What the gesture in progress changed belongs to the map before the change.
    Finish(old);
    auto step = std::make_unique<UndoRecord>();
    step->KeepWhole(std::move(old));
    Push(std::move(step));
    m_open->Open(map);
}

bool UndoHistory::Undo(gdi::Bitmap& map) {
    Finish(map);
    if (m_cursor == 0)
        return false;
    Swap(*m_steps[--m_cursor], map);
    return true;
}

void UndoHistory::Swap(UndoRecord& step, gdi::Bitmap& map) {
    m_lastMoved = &step;
    // Afterwards the step keeps what the swap took away, ready to be swapped back.
    m_stepBytes -= step.Bytes();
    step.SwapWith(map);
    m_stepBytes += step.Bytes();
    m_open->Open(map);
}

bool UndoHistory::Redo(gdi::Bitmap& map) {
    if (!CanRedo())
        return false;
    Swap(*m_steps[m_cursor++], map);
    return true;
}

void UndoHistory::MarkClean(const gdi::Bitmap& map) {
    Finish(map);
    m_clean = static_cast<std::ptrdiff_t>(m_cursor);
}

bool UndoHistory::IsClean() const {
    return !m_open->Changed() && m_clean == static_cast<std::ptrdiff_t>(m_cursor);
}

gdi::Bitmap UndoHistory::UndoPicture(const gdi::Bitmap& map) const {
    if (m_open->Changed())
        return m_open->Picture(map);
    if (m_cursor > 0)
        return m_steps[m_cursor - 1]->Picture(map);
    return map;
}

void UndoHistory::SetLimit(std::size_t bytes) {
    m_limit = bytes;
    Trim();
}

void UndoHistory::BeforeChange(const gdi::Bitmap& map, const gdi::Rect& area) {
    if (!m_open->Changed())
        DropRedo();
    m_open->BeforeChange(map, area);
}

}  // namespace zk
