// "Last Trick": the four cards of the previous trick, each on a button at its
// player's side of the table.
#pragma once

#include "display/CardButtonPainter.h"
#include "platform/cards/CardRenderer.h"

#include <QCoreApplication>
#include <QDialog>
#include <array>

class CCardButton;
class QPushButton;

class CLastTrickDialog : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(CLastTrickDialog)

public:
    static constexpr int kFirstButton = 54;

    // Card codes indexed by place: 0 bottom, 1 left, 2 top, 3 right.
    explicit CLastTrickDialog(const int cards[4], QWidget* parent = nullptr);

    // Runs the dialog until Close.
    static void ShowLastTrick(const int cards[4], QWidget* parent = nullptr);

    // The button of a place and the card it shows.
    CCardButton* PlaceButton(int place) const;
    int CardAtPlace(int place) const;
    QPushButton* CloseButton() const { return m_close; }

private:
    std::array<int, 4> m_cards{};
    std::array<CCardButton*, 4> m_buttons{};
    QPushButton* m_close = nullptr;
    CCardRenderer m_renderer;
    CCardButtonPainter m_painter;
};
