#include "app/qt/CRulesDialog.h"

#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

CRulesDialog::CRulesDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Rules of Vesk"));
    m_browser = new QTextBrowser(this);
    // Links inside the handbook move within it; nothing is fetched from outside.
    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(false);
    m_browser->setSource(QUrl(QString::fromLatin1(kHandbookUrl)));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_browser, 1);
    layout->addWidget(buttons);
    resize(560, 620);
}
