#include "platform/qt/DialogUnits.h"

#include <QFontMetrics>
#include <algorithm>

namespace {

// a * b / c rounded to the nearest integer, halves away from zero.
int MulDivRound(int a, int b, int c) {
    const long long p = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(p >= 0 ? (p + half) / c : (p - half) / c);
}

const QString kAlphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");

} // namespace

CDialogUnits::CDialogUnits(const QFont& font) {
    const QFontMetrics fm(font);
    m_xNum = std::max(fm.horizontalAdvance(kAlphabet), 1);
    m_xDen = static_cast<int>(kAlphabet.size());
    m_baseY = std::max(fm.height(), 1);
}

CDialogUnits::CDialogUnits(int baseX, int baseY)
    : m_xNum(std::max(baseX, 1)), m_xDen(1), m_baseY(std::max(baseY, 1)) {}

int CDialogUnits::BaseX() const {
    return std::max(MulDivRound(1, m_xNum, m_xDen), 1);
}

int CDialogUnits::X(int x) const {
    return MulDivRound(x, m_xNum, 4 * m_xDen);
}

int CDialogUnits::Y(int y) const {
    return MulDivRound(y, m_baseY, 8);
}

QRect CDialogUnits::Rect(int x, int y, int cx, int cy) const {
    // Convert the edges, not the sizes, so that adjacent controls stay adjacent.
    const int left = X(x);
    const int top = Y(y);
    return QRect(left, top, X(x + cx) - left, Y(y + cy) - top);
}
