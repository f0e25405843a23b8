// "Rules of Vesk": the rules handbook (an HTML resource) in a text browser,
// opened from Help or with F1. It stays open beside the table while the
// player goes on playing.
#pragma once

#include <QCoreApplication>
#include <QDialog>
#include <QUrl>

class QTextBrowser;

class CRulesDialog : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(CRulesDialog)

public:
    // The English handbook's resource.
    static constexpr const char* kHandbookUrl = "qrc:/vesk/handbook/rules.html";

    // The handbook in the language of the installed catalogue where the
    // resources hold one (rules_<language>.html), else the English one.
    static QUrl HandbookUrl();

    explicit CRulesDialog(QWidget* parent = nullptr);

    QTextBrowser* Browser() const { return m_browser; }

private:
    QTextBrowser* m_browser = nullptr;
};
