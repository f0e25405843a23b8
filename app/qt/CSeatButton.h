// A push-like check box of the seat panel. Its text is shortened at the end
// ("Maximilian…") when it does not fit, with the whole text in its tooltip, and
// a checked button shows that it is checked even while it is disabled (a
// computer partner that has started).
#pragma once

#include <QPushButton>
#include <QString>

class CSeatButton : public QPushButton {
public:
    explicit CSeatButton(QWidget* parent = nullptr);

    // The whole text; the button shows as much of it as fits.
    void SetFullText(const QString& text);
    const QString& FullText() const { return m_full; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Fit();

    QString m_full;
};
