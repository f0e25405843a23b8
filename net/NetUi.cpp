#include "net/NetUi.h"

#include <atomic>

namespace {
std::atomic<INetUi*> g_pNetUi{nullptr};
}

void SetNetUi(INetUi* ui) {
    g_pNetUi.store(ui);
}

INetUi* GetNetUi() {
    return g_pNetUi.load();
}
