#include "app/CReplaySnapshots.h"

#include "net/UsersList.h"
#include "rules/GameState.h"

void CReplaySnapshots::Record(RecordPtr record) {
    if (!record) return;
    if (m_nIndex == kSlots - 2) {
        for (int i = 0; i < kSlots - 1; ++i)
            m_slots[i] = std::move(m_slots[i + 1]);
        m_slots[kSlots - 1].reset();
    } else {
        ++m_nIndex;
        while (m_nIndex > 1 && !m_slots[m_nIndex - 1])
            --m_nIndex;
        for (int i = m_nIndex; i < kSlots; ++i)
            m_slots[i].reset();
    }
    // The same position as the one before: nothing new to keep.
    if (m_nIndex > 0 && m_slots[m_nIndex - 1] && *m_slots[m_nIndex - 1] == *record) return;
    m_slots[m_nIndex] = std::move(record);
}

bool CReplaySnapshots::Undo(const Apply& apply) {
    if (m_nIndex > 0) --m_nIndex;
    if (!HasSlot(m_nIndex)) return false;
    g_bReplaying = 1;
    if (apply) apply(m_slots[m_nIndex]->Bytes());
    g_bReplaying = 0;
    return true;
}

bool CReplaySnapshots::Redo(const Apply& apply) {
    if (!HasSlot(m_nIndex + 1)) return false;
    ++m_nIndex;
    g_bReplaying = 1;
    if (apply) apply(m_slots[m_nIndex]->Bytes());
    g_bReplaying = 0;
    return true;
}

bool CReplaySnapshots::PlaysAlone() {
    int count = 0;
    for (int id = 0; id < kMaxUsers; ++id) {
        const USERINFO& e = g_UsersList[id];
        if (e.name[0] == 0 || e.owner != id) continue;
        const bool prefixed = e.name[0] == kLonePrefix[0] && e.name[1] == kLonePrefix[1] &&
                              e.name[2] == kLonePrefix[2];
        count += prefixed ? 1 : 2;
    }
    return count == 1;
}

void CReplaySnapshots::Clear() {
    for (auto& slot : m_slots)
        slot.reset();
    m_nIndex = -1;
}
