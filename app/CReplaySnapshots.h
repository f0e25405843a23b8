// The replay snapshots of the last deal: a game record kept just before each
// own call or card, stepped back (Undo) and forth (Redo) by a player alone at
// the table.
#pragma once

#include <array>
#include <functional>
#include <span>

#include "record/CRecordBuffer.h"

class CReplaySnapshots {
public:
    static constexpr int kSlots = 200;
    // Names beginning with these letters count once when the lone player is found.
    static constexpr char kLonePrefix[3] = {'N', 'u', 'v'};

    using Apply = std::function<void(std::span<const uint8_t>)>;

    // Keeps a new snapshot; drops the ones Redo could still reach, and the new one
    // when it equals the one before it.
    void Record(RecordPtr record);
    // Steps back (or stays at the first) and applies that snapshot; false when none.
    bool Undo(const Apply& apply);
    // Steps forth when a later snapshot exists and applies it.
    bool Redo(const Apply& apply);

    // The menu items: only for a lone player (see PlaysAlone).
    bool CanUndo() const { return PlaysAlone() && m_nIndex >= 0; }
    bool CanRedo() const { return PlaysAlone() && HasSlot(m_nIndex + 1); }
    // The humans at the table count as exactly one: a name with the prefix counts
    // once, any other twice.
    static bool PlaysAlone();

    int Index() const { return m_nIndex; }
    const CRecordBuffer* Slot(int i) const { return HasSlot(i) ? m_slots[i].get() : nullptr; }
    void Clear();

private:
    bool HasSlot(int i) const { return i >= 0 && i < kSlots && m_slots[i] != nullptr; }

    std::array<RecordPtr, kSlots> m_slots;
    int m_nIndex = -1;
};
