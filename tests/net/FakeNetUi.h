// A scripted stand-in for the library's dialogs.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "net/CGameListModel.h"
#include "net/NetUi.h"

namespace nettest {

class FakeNetUi : public INetUi {
public:
    // Each call of the welcome dialog takes the next entry; past the end: Cancel.
    struct Welcome {
        std::string name;
        int connType = 0;
    };
    std::vector<Welcome> welcomes;
    // What the Select Computer dialog does while it is "open".
    std::function<bool(const std::function<void()>& broadcast, uint32_t& address)> selectComputer;

    bool WelcomeDialog(std::string& name, int& connType) override {
        if (welcomeCalls >= welcomes.size()) return false;
        name = welcomes[welcomeCalls].name;
        connType = welcomes[welcomeCalls++].connType;
        return true;
    }
    bool SelectComputer(const std::function<void()>& broadcast, uint32_t& address) override {
        model.Open();
        const bool ok = selectComputer ? selectComputer(broadcast, address) : false;
        model.Close();
        return ok;
    }
    void AddAnswer(const DiscoveryAnswer& answer) override { model.Add(answer); }
    void MessageBox(const std::string&) override {}
    void PumpMessages() override {}

    CGameListModel model;
    size_t welcomeCalls = 0;
};

// Installs a UI for the scope of a test.
struct UiScope {
    explicit UiScope(INetUi* ui) { SetNetUi(ui); }
    ~UiScope() { SetNetUi(nullptr); }
};

} // namespace nettest
