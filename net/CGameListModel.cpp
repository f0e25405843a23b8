#include "net/CGameListModel.h"

#include "platform/TextMark.h"

const char* CGameListModel::RootText(Root root) {
    // Translated where the tree shows them.
    return root == kActiveRoot ? VESK_TRANSLATE_NOOP("Vesk", "Active Games")
                               : VESK_TRANSLATE_NOOP("Vesk", "Waiting Games");
}

void CGameListModel::Open() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_roots[0].clear();
    m_roots[1].clear();
    m_firstAnswer = true;
    m_open = true;
}

void CGameListModel::Close() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open = false;
}

bool CGameListModel::IsOpen() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_open;
}

CGameListModel::Change CGameListModel::Add(const DiscoveryAnswer& answer) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Change change;
    if (!m_open) return change;
    const Root target = answer.active ? kActiveRoot : kWaitingRoot;
    for (int r = 0; r < 2; ++r) {
        auto& list = m_roots[r];
        for (size_t i = 0; i < list.size(); ++i) {
            if (list[i].address != answer.address) continue;
            if (r == target) return change; // already listed where it belongs
            change.movedFrom = true;
            change.fromRoot = static_cast<Root>(r);
            change.fromIndex = static_cast<int>(i);
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
            goto insert;
        }
    }
insert:
    Dealer dealer;
    dealer.address = answer.address;
    dealer.host = answer.host.substr(0, kMaxHostText);
    for (const auto& [name, seated] : answer.users)
        dealer.users.push_back({name, seated});
    auto& list = m_roots[target];
    change.kind = Change::Added;
    change.root = target;
    change.expandRoot = list.empty();
    change.index = static_cast<int>(list.size());
    change.dealer = dealer;
    list.push_back(std::move(dealer));
    if (m_firstAnswer) {
        m_firstAnswer = false;
        change.firstAnswer = true;
    }
    return change;
}

std::vector<CGameListModel::Dealer> CGameListModel::Dealers(Root root) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_roots[root == kActiveRoot ? 1 : 0];
}

bool CGameListModel::FindByHost(const std::string& text, uint32_t& address) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto& list : m_roots)
        for (const Dealer& d : list)
            if (d.host == text) {
                address = d.address;
                return true;
            }
    return false;
}
