// "Rules of Vesk": the rules handbook (an HTML resource) in a text browser,
// opened from Help or with F1. It stays open beside the table while the
// player goes on playing.
#pragma once

#include <QDialog>

class QTextBrowser;

class CRulesDialog : public QDialog {
public:
    // The handbook's resource.
    static constexpr const char* kHandbookUrl = "qrc:/vesk/handbook/rules.html";

    explicit CRulesDialog(QWidget* parent = nullptr);

    QTextBrowser* Browser() const { return m_browser; }

private:
    QTextBrowser* m_browser = nullptr;
};
