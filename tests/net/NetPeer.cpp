// A second program at the table, for the tests that need several processes:
// joins the dealer on 127.0.0.1, handles its notifications like the game
// program would, and ends when its connection is gone.
//   NetPeer <port> <name>
// Command kHold "hold" is kept unhandled until "release" arrives.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>

#include "net/Conn.h"
#include "net/Frame.h"
#include "tests/net/NetTestSupport.h"

namespace {
using nettest::kHold;
struct Item {
    uint16_t command;
    uint16_t user;
    std::string text;
};

class PeerWindow : public IMessageSink {
public:
    void PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
        if (message != WM_CONN_NOTIFY) return;
        Item item{static_cast<uint16_t>(wParam >> 16), static_cast<uint16_t>(wParam & 0xFFFF), {}};
        if (item.command != NET_PLACESTATE && lParam != 0) {
            CString* s = reinterpret_cast<CString*>(lParam);
            item.text = *s;
            DeleteCString(s);
        }
        std::lock_guard<std::mutex> lock(mutex);
        queue.push_back(item);
        cv.notify_all();
    }
    std::mutex mutex;
    std::condition_variable cv;
    std::deque<Item> queue;
};
} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    CConn::SetPort(static_cast<uint16_t>(std::atoi(argv[1])));
    PeerWindow window;
    CConn conn;
    ConnChoices choices;
    choices.name = argv[2];
    choices.dealerHost = "127.0.0.1";
    conn.SetChoices(choices);
    if (!conn.Init(&window)) return 1;
    int held = 0;
    bool lost = false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!lost && std::chrono::steady_clock::now() < end) {
        Item item;
        {
            std::unique_lock<std::mutex> lock(window.mutex);
            if (!window.cv.wait_for(lock, std::chrono::milliseconds(200),
                                    [&] { return !window.queue.empty(); }))
                continue;
            item = window.queue.front();
            window.queue.pop_front();
        }
        if (item.command == kHold && item.text == "hold") {
            ++held;
            continue; // stays counted in isBusy
        }
        if (item.command == kHold && item.text == "release") {
            isBusy -= static_cast<int16_t>(held);
            held = 0;
        }
        if (item.command == NET_DETACH && item.user == conn.m_nUserId) lost = true;
        if (CountsAsBusy(item.command) && isBusy > 0) --isBusy;
    }
    conn.Done();
    return 0;
}
