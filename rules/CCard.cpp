#include "rules/CCard.h"

#include "rules/Cards.h"
#include "rules/ViewUtil.h"

CCard::CCard(int code)
    : m_nCode(code), m_natSet(NaturalCardSet(code)), m_plainSet(PlainCardSet(code)),
      m_trumpSet(TrumpCardSet(code)) {}

CCard::~CCard() = default;

uint16_t CCard::SortKeyOf(int code) {
    static const int kSuitKey[4] = {0, 1, 3, 2}; // club, diamond, heart, spade
    int suit = SuitOf(code);
    if (suit < 0) return 0;
    int rank = code < 4 ? 52 : code / 4;
    return static_cast<uint16_t>((kSuitKey[suit] << 8) + rank);
}

void CCard::AddRef() {
    ++m_nRef;
}

void CCard::Release() {
    if (m_bDrawn) Erase(false);
    if (--m_nRef < 1) delete this;
}

void CCard::SetPlace(int x, int y, int drawMode, int width, int height) {
    if (m_bDrawn) Erase(false);
    m_nX = x;
    m_nY = y;
    m_nDrawMode = drawMode;
    m_nWidth = width;
    m_nHeight = height;
}

void CCard::MoveBy(int dx, int dy) {
    if (m_bDrawn) Erase(false);
    m_nX += dx;
    m_nY += dy;
}

bool CCard::HitTest(int px, int py) const {
    ViewSize std = CardSize();
    int w = m_nWidth < 0 ? std.cx : m_nWidth;
    int h = m_nHeight < 0 ? std.cy : m_nHeight;
    return px >= m_nX && px < m_nX + w && py >= m_nY && py < m_nY + h;
}

void CCard::Draw(bool invalidate) {
    ITableView* view = DrawingView();
    if (!view) return;
    int picture = m_nDrawMode == kDrawBack ? g_nCardBack : m_nCode;
    int w = m_nWidth < 0 || m_nHeight < 0 ? -1 : m_nWidth;
    int h = m_nWidth < 0 || m_nHeight < 0 ? -1 : m_nHeight;
    view->DrawCard(m_nX, m_nY, w, h, picture, m_nDrawMode, m_crBack);
    if (m_bMarked) {
        view->DrawIcon(m_nX + CardSize().cx / 2 - 16, m_nY, kIconMarker);
        if (!m_bDrawn) Beep(kBeepDefault);
    }
    m_bDrawn = 1;
    if (invalidate) view->Invalidate();
}

void CCard::Erase(bool invalidate) {
    if (ITableView* view = DrawingView()) {
        int w = m_nWidth < 0 || m_nHeight < 0 ? -1 : m_nWidth;
        int h = m_nWidth < 0 || m_nHeight < 0 ? -1 : m_nHeight;
        view->EraseCard(m_nX, m_nY, w, h, kTableColour);
        if (invalidate) view->Invalidate();
    }
    m_bDrawn = 0;
    m_bMarked = 0;
}
