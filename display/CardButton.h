// A push button that its dialog draws: the paint and the double click are
// handed to callbacks.
#pragma once

#include <QPushButton>
#include <functional>

class CCardButton : public QPushButton {
public:
    CCardButton(int id, QWidget* parent);

    int Id() const { return m_id; }

    std::function<void(CCardButton&, QPainter&)> onPaint;
    std::function<void(CCardButton&)> onDoubleClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int m_id;
};
