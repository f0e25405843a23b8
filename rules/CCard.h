// One card on the table, shared by reference count between the deck and the
// pile that shows it. Cards are created on the heap and destroy themselves
// when the last pile releases them.
#pragma once

#include <cstdint>

class CCard {
public:
    explicit CCard(int code);
    virtual ~CCard();
    virtual void Draw(bool invalidate);
    virtual void Erase(bool invalidate);

    void AddRef();
    void Release();
    void SetPlace(int x, int y, int drawMode, int width, int height);
    void MoveBy(int dx, int dy);
    bool HitTest(int px, int py) const;

    // Sort key: (suit key << 8) + rank, suit keys club 0, diamond 1, spade 2, heart 3,
    // rank code / 4 for seven..king and 52 for the ace.
    static uint16_t SortKeyOf(int code);

    int32_t m_nWidth = -1; // -1 = the renderer's standard size
    int32_t m_nHeight = -1;
    int32_t m_nX = 0;
    int32_t m_nY = 0;
    int32_t m_nCode;
    int32_t m_bDrawn = 0;
    int32_t m_bMarked = 0;
    int32_t m_nDrawMode = 1; // 0 face, 1 back, 2 highlighted face
    uint32_t m_crBack = 0xFFFFFF;
    uint32_t m_natSet;
    uint32_t m_plainSet;
    uint32_t m_trumpSet;
    int32_t m_nRef = 0;

    CCard(const CCard&) = delete;
    CCard& operator=(const CCard&) = delete;
};
