#include "net/Conn.h"

#include <cstring>
#include <mutex>

#include "net/Frame.h"
#include "net/NetLibrary.h"
#include "net/NetUi.h"
#include "platform/TextMark.h"

namespace {
constexpr size_t kMaxTypedName = 18;
constexpr int kEchoWaitMs = 3000;
constexpr int kProbeWaitMs = 4000;
} // namespace

CConn::CConn() : m_szName{}, m_nConnType(0), m_nUserId(0), m_hWnd(nullptr) {}

CConn::CConn(const CConn& other) {
    *this = other;
}

CConn& CConn::operator=(const CConn& other) {
    std::memcpy(m_szName, other.m_szName, sizeof m_szName);
    m_nConnType = other.m_nConnType;
    m_nUserId = other.m_nUserId;
    m_hWnd = other.m_hWnd;
    return *this;
}

// Deliberately does not call Done: the program calls it before deleting the object.
CConn::~CConn() = default;

void CConn::SetChoices(const ConnChoices& choices) {
    CNetLibrary::Instance().SetChoices(choices);
}

void CConn::SetPort(uint16_t port) {
    CNetLibrary::Instance().SetPort(port);
}

static std::string g_dealerHost; // chosen beforehand for the join of this Init

int CConn::Init(HWND hWnd) {
    CNetLibrary& lib = CNetLibrary::Instance();
    m_hWnd = hWnd;
    lib.Prepare();
    std::string name;
    int type = 0;
    g_dealerHost.clear();
    if (auto choices = lib.TakeChoices()) {
        name = choices->name;
        type = choices->connType;
        g_dealerHost = choices->dealerHost;
    } else {
        INetUi* ui = GetNetUi();
        if (ui == nullptr || !ui->WelcomeDialog(name, type)) return 0;
    }
    for (;;) {
        if (name.empty()) name = "Player";
        // Cut before the copy so that nothing is written past the member.
        if (name.size() > kMaxTypedName) name.resize(kMaxTypedName);
        std::memset(m_szName, 0, sizeof m_szName);
        std::memcpy(m_szName, name.data(), name.size());
        m_nConnType = type;
        if (MakeVeskConnection()) return 1;
        g_dealerHost.clear();
        INetUi* ui = GetNetUi();
        if (ui == nullptr || !ui->WelcomeDialog(name, type)) return 0;
    }
}

int CConn::MakeVeskConnection() {
    CNetLibrary& lib = CNetLibrary::Instance();
    lib.Prepare();
    const int started = m_nConnType != 0 ? lib.StartDealer() : lib.DiscoverAndChoose(g_dealerHost);
    if (!started) {
        lib.Shutdown(); // nothing of a failed start stays behind
        return 0;
    }
    if (!Connect()) {
        CNetLibrary::ShowMessage(
            CNetLibrary::Text(VESK_TRANSLATE_NOOP("Vesk", "Connection to Vesk Server Failed.")));
        lib.Shutdown();
        return 0;
    }
    AttachUser();
    return 1;
}

int CConn::Connect() {
    const int id = CNetLibrary::Instance().Connect(m_szName, m_hWnd);
    if (id < 0) return 0;
    m_nUserId = static_cast<int16_t>(id);
    return 1;
}

void CConn::Disconnect() {
    CNetLibrary::Instance().Disconnect();
}

void CConn::Done() {
    DetachUser();
    std::memset(g_UsersList, 0, sizeof(USERINFO) * kMaxUsers);
    Disconnect();
    CNetLibrary::Instance().Shutdown();
}

void CConn::BroadcastCmd(short to, short cmd, const char* text, short from) {
    CNetLibrary& lib = CNetLibrary::Instance();
    std::shared_ptr<CConnSocket> ep;
    {
        std::lock_guard<std::mutex> lock(lib.m_sendLock);
        ep = lib.m_client;
        if (!ep) return;
        ep->m_waitEvent->Reset();
        const char* t = text ? text : "";
        ep->BuildFrame(static_cast<uint16_t>(to), static_cast<uint16_t>(cmd), t, std::strlen(t) + 1,
                       true, static_cast<uint16_t>(from));
    }
    if (to == -1) CNetLibrary::WaitPumping(*ep->m_waitEvent, kEchoWaitMs);
}

void CConn::SetPlaceState(short state, short from) {
    CNetLibrary& lib = CNetLibrary::Instance();
    std::lock_guard<std::mutex> lock(lib.m_sendLock);
    if (!lib.m_client) return;
    uint8_t payload[2];
    PutU16(payload, static_cast<uint16_t>(state));
    lib.m_client->BuildFrame(kEverybody, NET_PLACESTATE, payload, sizeof payload, true,
                             static_cast<uint16_t>(from));
}

short CConn::Synchro() {
    const int16_t busy = isBusy.load();
    if (busy != 0) return busy;
    CNetLibrary& lib = CNetLibrary::Instance();
    int humans = 0;
    for (int i = 0; i < kMaxUsers; ++i)
        if (g_UsersList[i].name[0] != 0 && g_UsersList[i].owner == i) ++humans;
    std::shared_ptr<CConnSocket> ep;
    {
        std::lock_guard<std::mutex> lock(lib.m_sendLock);
        ep = lib.m_client;
        if (!ep || !ep->m_waitEvent || humans < 2) return 0;
        ep->m_replySum = 0;
        ep->m_awaitedReplies = static_cast<uint16_t>(humans - 1);
        ep->m_waitEvent->Reset();
        const char probe = 0;
        ep->BuildFrame(kEverybody, NET_ATTACH, &probe, 1, true, kNoUser);
    }
    CNetLibrary::WaitPumping(*ep->m_waitEvent, kProbeWaitMs);
    uint16_t sum;
    {
        std::lock_guard<std::mutex> lock(lib.m_sendLock);
        sum = ep->m_replySum;
        ep->m_awaitedReplies = 0; // replies that come later count for nothing
    }
    return static_cast<short>(sum + isBusy.load());
}

int CConn::IcantExit() {
    return m_nConnType != 0;
}

void CConn::AttachUser() {
    SendOwnName(NET_ATTACH);
}

void CConn::DetachUser() {
    SendOwnName(NET_DETACH);
}

void CConn::SendOwnName(uint16_t command) {
    CNetLibrary& lib = CNetLibrary::Instance();
    std::lock_guard<std::mutex> lock(lib.m_sendLock);
    if (!lib.m_client || m_nUserId < 0 || m_nUserId >= kMaxUsers) return;
    const USERINFO& e = g_UsersList[m_nUserId];
    const size_t len = strnlen(e.name, sizeof e.name);
    char name[sizeof e.name + 1] = {};
    std::memcpy(name, e.name, len);
    lib.m_client->BuildFrame(kEverybody, command, name, len + 1, true,
                             static_cast<uint16_t>(m_nUserId));
}
