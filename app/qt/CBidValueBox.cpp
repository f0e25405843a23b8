#include "app/qt/CBidValueBox.h"

#include <QLineEdit>
#include <algorithm>

namespace {
// Three digits hold every bet and every mistyped one.
constexpr int kMaxDigits = 3;
} // namespace

CBidValueBox::CBidValueBox(QWidget* parent) : QAbstractSpinBox(parent) {
    setAlignment(Qt::AlignCenter);
    setAccelerated(false);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
}

void CBidValueBox::SetRange(int low, int high) {
    m_low = low;
    m_high = std::max(low, high);
    update();
}

void CBidValueBox::SetValue(int value) {
    lineEdit()->setText(QString::number(value));
    update();
}

int CBidValueBox::Value() const {
    bool ok = false;
    const int value = text().toInt(&ok);
    return ok ? value : -1;
}

bool CBidValueBox::HasSelectedText() const {
    return lineEdit()->hasSelectedText();
}

QValidator::State CBidValueBox::validate(QString& input, int&) const {
    if (input.size() > kMaxDigits) return QValidator::Invalid;
    for (QChar c : input)
        if (!c.isDigit()) return QValidator::Invalid;
    return QValidator::Acceptable;
}

void CBidValueBox::stepBy(int steps) {
    const int value = Value();
    const int from = value < 0 ? m_low : value;
    SetValue(std::clamp(from + steps, m_low, m_high));
    selectAll();
}

QAbstractSpinBox::StepEnabled CBidValueBox::stepEnabled() const {
    if (!isEnabled()) return StepNone;
    const int value = Value();
    StepEnabled enabled = StepNone;
    if (value < 0 || value < m_high) enabled |= StepUpEnabled;
    if (value < 0 || value > m_low) enabled |= StepDownEnabled;
    return enabled;
}
