#include "platform/qt/PumpMessages.h"

#include <QCoreApplication>
#include <QEventLoop>

void PumpMessages() {
    if (QCoreApplication::instance() == nullptr) return;
    // Posted events first, so that messages posted before the call are handled
    // before we return even when the window system has nothing to report.
    // A quit request met here only tells the running event loops to end, so
    // the program's main loop still ends once we are back in it.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
