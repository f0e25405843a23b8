// Helpers for driving modal dialogs from the tests.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <arpa/inet.h>
#include <functional>

#include "net/Discovery.h"

namespace uitest {

// Calls `act` with the modal widget of type T as soon as one is showing (polled
// every 10 ms, for at most five seconds). The timer dies with `owner`.
template <class T> void WhenModal(QObject* owner, std::function<void(T*)> act) {
    auto* timer = new QTimer(owner);
    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    QObject::connect(timer, &QTimer::timeout, [timer, elapsed, act] {
        T* w = dynamic_cast<T*>(QApplication::activeModalWidget());
        if (w == nullptr && elapsed->elapsed() < 5000) return;
        timer->stop();
        timer->deleteLater();
        if (w != nullptr) act(w);
    });
    timer->start(10);
}

// Runs the event loop until `pred` holds or `ms` milliseconds have passed.
inline bool PumpUntil(const std::function<bool()>& pred, int ms = 3000) {
    QElapsedTimer timer;
    timer.start();
    while (!pred() && timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return pred();
}

inline DiscoveryAnswer Answer(const char* dotted, const std::string& host, bool active,
                              std::vector<std::pair<std::string, bool>> users = {}) {
    return DiscoveryAnswer{inet_addr(dotted), host, active, std::move(users)};
}

} // namespace uitest
