// The welcome dialog: the player's name and whether to join another game or
// to be the dealer. Pre-filled from the stored choices of the last start (or
// the login name and "join"), and stores the confirmed ones for the next.
#pragma once

#include <QCoreApplication>
#include <QDialog>
#include <string>

class QLineEdit;
class QPushButton;
class QRadioButton;
class CSettingsStore;

class CWelcomeDlg : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(CWelcomeDlg)

public:
    // Names of the stored values.
    static constexpr const char* kNameValue = "LastPlayerName";
    static constexpr const char* kConnTypeValue = "ConnType";
    // Stored names longer than this count as malformed.
    static constexpr std::size_t kMaxStoredName = 255;

    // Pre-fills the controls from `store`, which must outlive the dialog.
    explicit CWelcomeDlg(CSettingsStore& store, QWidget* parent = nullptr);

    // Shows these choices instead of the stored ones: the name given on the
    // command line, shown again after a failed join.
    void SetChoices(const std::string& name, int connType);

    // After OK: stores the choices (write failures are ignored) and gives the
    // name to play under ("Player" when none was typed) and the connection
    // type (0 = join another game, 1 = be the dealer).
    void TakeChoices(std::string& name, int& connType);

    // The choices as last exchanged with the controls.
    const std::string& Name() const { return m_strName; }
    int ConnType() const { return m_nConnType; }

    QLineEdit* NameEdit() const { return m_edit; }
    QRadioButton* ConnectRadio() const { return m_connect; }
    QRadioButton* DealerRadio() const { return m_dealer; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    void accept() override;

private:
    void PreFill();
    void ToControls();
    void FromControls();

    CSettingsStore& m_store;
    std::string m_strName;
    int m_nConnType = 0;
    QLineEdit* m_edit;
    QRadioButton* m_connect;
    QRadioButton* m_dealer;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
