#include "net/ui/SelectComputerDlg.h"

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>
#include <QTreeWidget>

#include "net/ui/GameTree.h"
#include "net/ui/GameTreeImages.h"
#include "platform/qt/DialogUnits.h"

CSelectComputerDlg::CSelectComputerDlg(Broadcast broadcast, QWidget* parent)
    : QDialog(parent), m_broadcast(std::move(broadcast)), m_resolve(&ResolveHost) {
    setWindowTitle(tr("Select Computer"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_label = new QLabel(tr("&Computer"), this);
    m_edit = new QLineEdit(this);
    m_label->setBuddy(m_edit);
    m_tree = new QTreeWidget(this);
    m_tree->setHeaderHidden(true);
    m_tree->setAccessibleName(QStringLiteral("Games on the network"));
    m_tree->setColumnCount(1);
    m_tree->setIconSize(QSize(CGameTreeImages::kSize, CGameTreeImages::kSize));
    m_ok = new QPushButton(tr("OK"), this);
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_ok->setDefault(true);

    // Layout in dialog units.
    const CDialogUnits du(font());
    m_label->setGeometry(du.Rect(7, 9, 38, 8));
    m_edit->setGeometry(du.Rect(48, 7, 131, 12));
    m_tree->setGeometry(du.Rect(7, 25, 172, 116));
    m_ok->setGeometry(du.Rect(74, 149, 50, 14));
    m_cancel->setGeometry(du.Rect(129, 149, 50, 14));
    setFixedSize(du.X(186), du.Y(170));

    m_games = std::make_unique<CGameTree>(m_tree);

    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { OnCurrentItemChanged(current); });
    m_timer.setInterval(kBroadcastMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_broadcast) m_broadcast();
    });
}

CSelectComputerDlg::~CSelectComputerDlg() {
    Close();
}

void CSelectComputerDlg::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (m_opened) return;
    // Opening: answers count from now on; one request at once, then one a second.
    m_opened = true;
    m_games->Open();
    if (m_broadcast) m_broadcast();
    m_timer.start();
}

bool CSelectComputerDlg::IsOpen() const {
    return m_games->IsOpen();
}

void CSelectComputerDlg::PostAnswer(const DiscoveryAnswer& answer) {
    if (!IsOpen()) return;
    // Queued to the dialog's thread; dropped by Qt if the dialog is gone by then.
    QMetaObject::invokeMethod(
        this, [this, answer] { AddAnswer(answer); }, Qt::QueuedConnection);
}

void CSelectComputerDlg::AddAnswer(const DiscoveryAnswer& answer) {
    if (m_games->Add(answer)) m_edit->setText(CGameTree::HostText(answer));
    update();
}

void CSelectComputerDlg::OnCurrentItemChanged(QTreeWidgetItem* item) {
    const uint32_t address = CGameTree::ItemAddress(item);
    if (address == 0) return; // a root or a user
    m_address = address;
    m_selectedText = item->text(0);
    m_edit->setText(m_selectedText);
}

void CSelectComputerDlg::accept() {
    const QString text = m_edit->text();
    if (text.isEmpty()) {
        Beep();
        return;
    }
    if (text != m_selectedText) {
        uint32_t address = 0;
        if (m_games->FindDealer(text, address)) {
            m_address = address;
        } else if (m_resolve && m_resolve(text.toStdString(), address)) {
            m_address = address;
        } else {
            Beep();
            return;
        }
    }
    m_games->Close();
    QDialog::accept();
}

void CSelectComputerDlg::done(int result) {
    Close();
    QDialog::done(result);
}

void CSelectComputerDlg::Close() {
    m_games->Close();
    m_timer.stop();
}

void CSelectComputerDlg::Beep() {
    ++m_beeps;
    QApplication::beep();
}

bool CSelectComputerDlg::ResolveHost(const std::string& host, uint32_t& address) {
    if (host.empty()) return false;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0 || list == nullptr) return false;
    bool found = false;
    for (const addrinfo* ai = list; ai != nullptr && !found; ai = ai->ai_next) {
        if (ai->ai_family != AF_INET || ai->ai_addr == nullptr) continue;
        address = reinterpret_cast<const sockaddr_in*>(ai->ai_addr)->sin_addr.s_addr;
        found = true;
    }
    freeaddrinfo(list);
    return found;
}
