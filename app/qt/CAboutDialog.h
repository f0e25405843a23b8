// The "Write Me" dialog of the Help menu: the program's icon and name and the
// "&Ask me" button, which opens a feedback mail to the author in the desktop's
// mail client. The button is disabled when the mail cannot be handed over.
#pragma once

#include <QCoreApplication>
#include <QDialog>

class CFeedbackMail;
class QPushButton;

class CAboutDialog : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(CAboutDialog)

public:
    static constexpr int kAskMeId = 8;

    // `mail` must outlive the dialog.
    CAboutDialog(const CFeedbackMail& mail, QWidget* parent = nullptr);

    QPushButton* AskButton() const { return m_ask; }
    QPushButton* OkButton() const { return m_ok; }

    // The mail as the desktop opens it: a mailto: URL through QDesktopServices.
    static CFeedbackMail DesktopMail();

private:
    void SendMail();

    const CFeedbackMail& m_mail;
    QPushButton* m_ask = nullptr;
    QPushButton* m_ok = nullptr;
};
