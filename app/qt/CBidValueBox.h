// The bidding panel's value box: an edit that takes digits only, with up and
// down arrows that step the value inside the allowed range. Unlike a spin box
// it never corrects what was typed: the Bet button reads the typed number and
// refuses a value outside 8..82 itself.
#pragma once

#include <QAbstractSpinBox>

class CBidValueBox : public QAbstractSpinBox {
public:
    explicit CBidValueBox(QWidget* parent = nullptr);

    // The range the arrows step in; the typed text may lie outside it.
    void SetRange(int low, int high);
    void SetValue(int value);
    // The typed number, or -1 when the box is empty.
    int Value() const;
    // The typed text is selected (for a correction).
    bool HasSelectedText() const;

    QValidator::State validate(QString& input, int& pos) const override;
    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;

private:
    int m_low = 0;
    int m_high = 0;
};
