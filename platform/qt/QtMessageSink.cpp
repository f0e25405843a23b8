#include "platform/qt/QtMessageSink.h"

#include <QCoreApplication>
#include <QEvent>
#include <utility>

namespace {

class CMessageEvent : public QEvent {
public:
    CMessageEvent(uint32_t message, uintptr_t wParam, intptr_t lParam)
        : QEvent(static_cast<QEvent::Type>(CQtMessageSink::EventType())), m_message(message),
          m_wParam(wParam), m_lParam(lParam) {}

    uint32_t m_message;
    uintptr_t m_wParam;
    intptr_t m_lParam;
};

} // namespace

CQtMessageSink::CQtMessageSink(Handler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler)) {}

CQtMessageSink::~CQtMessageSink() = default;

int CQtMessageSink::EventType() {
    static const int type = QEvent::registerEventType();
    return type;
}

void CQtMessageSink::PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    // postEvent is thread-safe and takes ownership of the event; events posted
    // to one receiver with the same priority are delivered in posting order.
    QCoreApplication::postEvent(this, new CMessageEvent(message, wParam, lParam));
}

void CQtMessageSink::SetHandler(Handler handler) {
    m_handler = std::move(handler);
}

bool CQtMessageSink::event(QEvent* e) {
    if (e->type() != EventType()) return QObject::event(e);
    auto* msg = static_cast<CMessageEvent*>(e);
    if (m_handler) m_handler(msg->m_message, msg->m_wParam, msg->m_lParam);
    return true;
}
