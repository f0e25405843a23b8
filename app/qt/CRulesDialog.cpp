#include "app/qt/CRulesDialog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "platform/qt/Translations.h"

QUrl CRulesDialog::HandbookUrl() {
    const QString language = InstalledLanguage();
    if (!language.isEmpty()) {
        const QString path = QStringLiteral("/vesk/handbook/rules_%1.html").arg(language);
        if (QFile::exists(QLatin1Char(':') + path)) return QUrl(QStringLiteral("qrc:") + path);
    }
    return QUrl(QString::fromLatin1(kHandbookUrl));
}

CRulesDialog::CRulesDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Rules of Vesk"));
    m_browser = new QTextBrowser(this);
    // Links inside the handbook move within it; nothing is fetched from outside.
    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(false);
    m_browser->setSource(HandbookUrl());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_browser, 1);
    layout->addWidget(buttons);
    resize(560, 620);
}
