// Small helpers over the table view for the rules' own sources.
#pragma once

#include "rules/GameState.h"
#include "rules/TableView.h"

// The view when it exists and has its table picture, else null.
inline ITableView* DrawingView() {
    return g_pView && g_pView->HasSurface() ? g_pView : nullptr;
}

// Card size used for layout and hit testing; a classic card's size without a view.
inline ViewSize CardSize() {
    ViewSize s = g_pView ? g_pView->StandardCardSize() : ViewSize{};
    if (s.cx <= 0 || s.cy <= 0) s = ViewSize{71, 96};
    return s;
}

// Client size used for layout; a small window's size without a view.
inline ViewSize TableSize() {
    ViewSize s = g_pView ? g_pView->ClientSize() : ViewSize{};
    if (s.cx <= 0 || s.cy <= 0) s = ViewSize{640, 480};
    return s;
}

inline void InvalidateView() {
    if (g_pView) g_pView->Invalidate();
}

inline void Beep(int kind) {
    if (g_pMainFrame) g_pMainFrame->Beep(kind);
}
