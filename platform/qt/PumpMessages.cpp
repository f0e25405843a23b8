#include "platform/qt/PumpMessages.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <thread>

void PumpMessages() {
    if (QCoreApplication::instance() == nullptr) return;
    // Posted events first, so that messages posted before the call are handled
    // before we return even when the window system has nothing to report.
    // A quit request met here only tells the running event loops to end, so
    // the program's main loop still ends once we are back in it.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void PumpMessagesFor(int ms) {
    // Without an event loop to sleep in (no application, or a thread of its own)
    // there is nothing to dispatch: a plain sleep.
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() != app->thread()) {
        if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    const QDeadlineTimer deadline(ms > 0 ? ms : 0, Qt::PreciseTimer);
    PumpMessages();
    // The timer only wakes the blocked dispatcher when the time is up; every
    // message that arrives earlier wakes it by itself. Unlike a nested event
    // loop, this also waits its full time after the program was asked to quit.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (;;) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0) break;
        wake.start(static_cast<int>(left));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}
