#include "app/qt/CAboutDialog.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/CFeedbackMail.h"
#include "platform/qt/Translations.h"
#include "resources/ResourceIds.h"
#include "resources/ResourceImages.h"

CAboutDialog::CAboutDialog(const CFeedbackMail& mail, QWidget* parent)
    : QDialog(parent), m_mail(mail) {
    setWindowTitle(tr("Write Me"));
    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap::fromImage(CResourceImages::Icon(resid::kIconApp, 32)));
    const QString version = QCoreApplication::applicationVersion();
    auto* text = new QLabel(QStringLiteral("Vesk") +
                                (version.isEmpty() ? QString() : QStringLiteral(" ") + version) +
                                tr("\nA card game for four players in two "
                                   "partnerships,\nplayed over a local network."),
                            this);
    m_ask = new QPushButton(tr("&Ask me"), this);
    m_ask->setEnabled(m_mail.Available());
    m_ok = new QPushButton(tr("OK"), this);
    m_ok->setDefault(true);
    connect(m_ask, &QPushButton::clicked, this, [this] { SendMail(); });
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout();
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(text, 1);
    auto* buttons = new QVBoxLayout();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_ask);
    buttons->addStretch(1);
    top->addLayout(buttons);
    setLayout(top);
    setFixedSize(sizeHint());
}

void CAboutDialog::SendMail() {
    if (!m_mail.Send()) QMessageBox::warning(this, windowTitle(), TranslatedText(kFeedbackError));
}

CFeedbackMail CAboutDialog::DesktopMail() {
    return CFeedbackMail([](const std::string& url) {
        return QDesktopServices::openUrl(QUrl(QString::fromStdString(url), QUrl::StrictMode));
    });
}
