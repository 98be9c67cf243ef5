// The cross-check of the undo history: the maps a test passes through are noted, and at the end
// the whole history is walked, undone to its start and redone to its end, every state on the
// way held against the noted ones. A write that bypassed the history, a step that was lost or
// one that restores the wrong pixels shows up as a map never seen, or one out of order.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "doc/zk_doc.h"
#include "support/picture.h"

namespace zk_test {

class HistoryCheck {
  public:
    explicit HistoryCheck(const zk::CZKDoc& doc) : m_doc(doc) { Note(); }

    // The map as it is now is one the history must be able to come back to.
    void Note() {
        if (m_resets != m_doc.History().Resets()) {
            // Nothing before a new map can come back, and the new map itself was not seen if
            // anything was drawn on it before this note.
            m_startSeen = m_states.empty() || !m_doc.CanUndo();
            m_states.clear();
            m_resets = m_doc.History().Resets();
        }
        if (m_states.empty() || !(m_states.back() == m_doc.m_bitmap))
            m_states.push_back(m_doc.m_bitmap);
    }

    // Undoes with `undo` while the document can, then redoes with `redo` while it can. Every
    // undo must reach a noted state no later than the last one reached, the last the first
    // noted (unless the limit forgot steps); the redos must retrace the undos exactly, back to
    // the map as it was, and any redo past that must reach a noted state. Empty when all holds,
    // else what went wrong.
    std::string Walk(const std::function<void()>& undo, const std::function<void()>& redo) {
        Note();
        const gdi::Bitmap end = m_doc.m_bitmap;
        std::vector<gdi::Bitmap> walked{end};
        std::size_t at = m_states.size() - 1;
        for (int step = 1; m_doc.CanUndo(); ++step) {
            undo();
            std::size_t j = at + 1;
            while (j > 0 && !(m_states[j - 1] == m_doc.m_bitmap))
                --j;
            if (j == 0 && !m_startSeen && !m_doc.CanUndo()) {
                // The start of a history whose first map was never noted.
                walked.push_back(m_doc.m_bitmap);
                m_states.insert(m_states.begin(), m_doc.m_bitmap);
                at = 0;
                break;
            }
            if (j == 0)
                return "undo " + std::to_string(step) +
                       " gave a map never seen; against the one before: " +
                       Difference(m_states[at > 0 ? at - 1 : 0], m_doc.m_bitmap);
            at = j - 1;
            walked.push_back(m_doc.m_bitmap);
        }
        if (!(m_doc.m_bitmap == m_states.front()) && m_doc.History().Forgotten() == 0)
            return "undo stopped short of the first map: " +
                   Difference(m_states.front(), m_doc.m_bitmap);
        for (std::size_t k = walked.size() - 1; k > 0; --k) {
            if (!m_doc.CanRedo())
                return "redo ran out " + std::to_string(k) + " steps before the end";
            redo();
            if (!(m_doc.m_bitmap == walked[k - 1]))
                return "redo " + std::to_string(walked.size() - k) +
                       " did not retrace its undo: " + Difference(walked[k - 1], m_doc.m_bitmap);
        }
        for (int step = 1; m_doc.CanRedo(); ++step) {
            redo();
            bool seen = false;
            for (const gdi::Bitmap& s : m_states)
                seen = seen || s == m_doc.m_bitmap;
            if (!seen)
                return "redo " + std::to_string(step) + " past the end gave a map never seen";
        }
        return {};
    }

  private:
    const zk::CZKDoc& m_doc;
    std::vector<gdi::Bitmap> m_states;
    std::size_t m_resets = 0;
    bool m_startSeen = true;
};

}  // namespace zk_test
