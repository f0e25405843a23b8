#include "net/ui/GameTree.h"

#include <QTreeWidget>
#include <algorithm>

#include "net/ui/GameTreeImages.h"
#include "platform/qt/Translations.h"

namespace {

constexpr int kAddressRole = Qt::UserRole;
constexpr std::size_t kMaxUserName = 20;

QTreeWidgetItem* NewItem(const QString& text, int image, uint32_t address) {
    auto* item = new QTreeWidgetItem(QStringList(text));
    item->setIcon(0, CGameTreeImages::Icon(image));
    item->setData(0, kAddressRole, QVariant::fromValue<uint>(address));
    return item;
}

// Text from the wire ends at its NUL and within its field.
std::string WireText(const std::string& s, std::size_t maxBytes) {
    return s.substr(0, std::min(s.find('\0'), maxBytes));
}

QString Utf8(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

CGameTree::CGameTree(QTreeWidget* tree) : m_tree(tree) {
    for (CGameListModel::Root root : {CGameListModel::kWaitingRoot, CGameListModel::kActiveRoot}) {
        m_roots[root] =
            NewItem(TranslatedText(CGameListModel::RootText(root)), CGameListModel::RootImage(), 0);
        m_tree->addTopLevelItem(m_roots[root]);
    }
}

void CGameTree::Open() {
    m_model.Open();
}

void CGameTree::Close() {
    m_model.Close();
}

bool CGameTree::IsOpen() const {
    return m_model.IsOpen();
}

QString CGameTree::HostText(const DiscoveryAnswer& answer) {
    return Utf8(WireText(answer.host, CGameListModel::kMaxHostText));
}

uint32_t CGameTree::ItemAddress(const QTreeWidgetItem* item) {
    return item == nullptr ? 0 : item->data(0, kAddressRole).toUInt();
}

bool CGameTree::Add(const DiscoveryAnswer& answer) {
    DiscoveryAnswer clean = answer;
    clean.host = WireText(answer.host, CGameListModel::kMaxHostText);
    for (auto& user : clean.users)
        user.first = WireText(user.first, kMaxUserName);

    const CGameListModel::Change change = m_model.Add(clean);
    if (change.kind != CGameListModel::Change::Added) return false;

    // The dealer's game started or ended: it leaves the other root.
    if (change.movedFrom) delete m_roots[change.fromRoot]->takeChild(change.fromIndex);

    QTreeWidgetItem* const root = m_roots[change.root];
    QTreeWidgetItem* dealer = NewItem(
        Utf8(change.dealer.host), CGameListModel::DealerImage(change.root), change.dealer.address);
    root->insertChild(change.index, dealer);
    if (change.expandRoot) root->setExpanded(true);
    for (const CGameListModel::User& user : change.dealer.users)
        dealer->addChild(NewItem(Utf8(user.name), user.ImageIndex(), 0));
    // The dealer stays closed; its expand button shows that it has users.
    dealer->setExpanded(false);
    return change.firstAnswer;
}

bool CGameTree::FindDealer(const QString& text, uint32_t& address) const {
    return m_model.FindByHost(text.toStdString(), address);
}
