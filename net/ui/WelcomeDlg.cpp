#include "net/ui/WelcomeDlg.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/qt/DialogUnits.h"
#include "platform/qt/SettingsStore.h"
#include "platform/qt/UserName.h"

CWelcomeDlg::CWelcomeDlg(CSettingsStore& store, QWidget* parent) : QDialog(parent), m_store(store) {
    setWindowTitle(tr("The Nuv Vesk Network"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    // Created in tab order; the group box comes before its radio buttons so
    // that they lie on top of it.
    auto* welcome = new QLabel(tr("Welcome to the Nuv vesk network."), this);
    auto* question = new QLabel(tr("What is your name?"), this);
    m_edit = new QLineEdit(this);
    auto* group = new QGroupBox(tr("How do you want to play?"), this);
    m_connect = new QRadioButton(tr("I want to &connect to another game"), this);
    m_dealer = new QRadioButton(tr("I want to be &dealer"), this);
    m_ok = new QPushButton(tr("OK"), this);
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_ok->setDefault(true);

    question->setBuddy(m_edit);
    m_edit->setAccessibleName(QStringLiteral("What is your name?"));

    auto* radios = new QButtonGroup(this);
    radios->addButton(m_connect, 0);
    radios->addButton(m_dealer, 1);

    const CDialogUnits du(font());
    welcome->setGeometry(du.Rect(17, 11, 145, 12));
    question->setGeometry(du.Rect(17, 28, 68, 12));
    m_edit->setGeometry(du.Rect(97, 25, 65, 14));
    group->setGeometry(du.Rect(17, 49, 143, 48));
    m_connect->setGeometry(du.Rect(24, 62, 132, 12));
    m_dealer->setGeometry(du.Rect(24, 78, 132, 12));
    m_ok->setGeometry(du.Rect(17, 111, 50, 14));
    m_cancel->setGeometry(du.Rect(110, 110, 50, 14));
    setFixedSize(du.X(179), du.Y(133));

    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    PreFill();
    ToControls();
    m_edit->setFocus();
}

void CWelcomeDlg::PreFill() {
    std::string name;
    uint32_t type = 0;
    if (m_store.ReadString(kNameValue, name) && name.size() <= kMaxStoredName &&
        m_store.ReadDword(kConnTypeValue, type) && type <= 1) {
        m_strName = name;
        m_nConnType = static_cast<int>(type);
        return;
    }
    m_strName = GetUserName();
    m_nConnType = 0;
}

void CWelcomeDlg::SetChoices(const std::string& name, int connType) {
    m_strName = name;
    m_nConnType = connType == 1 ? 1 : 0;
    ToControls();
}

void CWelcomeDlg::ToControls() {
    m_edit->setText(QString::fromStdString(m_strName));
    (m_nConnType == 1 ? m_dealer : m_connect)->setChecked(true);
}

void CWelcomeDlg::FromControls() {
    m_strName = m_edit->text().toStdString();
    m_nConnType = m_dealer->isChecked() ? 1 : 0;
}

void CWelcomeDlg::accept() {
    FromControls();
    QDialog::accept();
}

void CWelcomeDlg::TakeChoices(std::string& name, int& connType) {
    // Stored as typed, an empty name included; a failed write only costs the
    // pre-filling of the next start.
    m_store.WriteString(kNameValue, m_strName);
    m_store.WriteDword(kConnTypeValue, static_cast<uint32_t>(m_nConnType));
    name = m_strName.empty() ? std::string("Player") : m_strName;
    connType = m_nConnType;
}
