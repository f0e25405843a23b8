// "Select Card Back": twelve buttons showing the card backs; a click selects
// a back, a double click selects it and closes the dialog, OK closes with the
// selected back, Cancel with 2. Below the backs, "Faces" chooses the card
// faces: the built-in ones or one of the desktop's SVG card decks.
#pragma once

#include "display/CardButtonPainter.h"
#include "platform/cards/CardRenderer.h"
#include "platform/cards/DeckCatalogue.h"

#include <QCoreApplication>
#include <QDialog>
#include <array>

class CCardButton;
class QComboBox;
class QPushButton;

class CCardBackDialog : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(CCardBackDialog)

public:
    static constexpr int kFirstBack = 54;
    static constexpr int kBackCount = 12;
    static constexpr int kCancelled = 2;

    // `current` is the back selected when the dialog opens; `decks` are offered
    // after the built-in faces, `faces` (a deck's file, empty for the built-in
    // faces) is selected.
    explicit CCardBackDialog(int current, QWidget* parent = nullptr,
                             const QList<DeckEntry>& decks = {}, const QString& faces = {});

    // Runs the dialog: the chosen back's id, or 2 when it was cancelled.
    static int ChooseCardBack(int current, QWidget* parent = nullptr);

    int Selected() const { return m_selected; }
    int Previous() const { return m_previous; }
    // Selects a back as a click on its button does.
    void Select(int id);
    // Times two buttons were redrawn because the selection moved.
    int SelectionRedraws() const { return m_selectionRedraws; }
    // Border of a button drawn in its resting state: 1 when selected, else 5.
    int AutoBorder(int id) const { return id == m_selected ? 1 : 5; }

    CCardButton* BackButton(int id) const;
    QPushButton* OkButton() const { return m_ok; }
    QComboBox* FacesBox() const { return m_faces; }
    // The chosen faces: a deck's file, or empty for the built-in faces.
    QString SelectedFaces() const;
    QPushButton* CancelButton() const { return m_cancel; }

    void reject() override;

private:
    void PaintBack(CCardButton& button, QPainter& painter);

    int m_selected;
    int m_previous = -1;
    int m_selectionRedraws = 0;
    std::array<CCardButton*, kBackCount> m_backs{};
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QComboBox* m_faces = nullptr;
    CCardRenderer m_renderer;
    CCardButtonPainter m_painter;
};
